#!/usr/bin/env bash
# Builds everything and runs every test: the full build (windows included,
# under a virtual X display), the non-GUI units again under AddressSanitizer
# and UndefinedBehaviorSanitizer, and the fuzz targets for a bounded time.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-packages.sh

jobs=$(nproc)
fuzz_seconds=${ORNET5_FUZZ_SECONDS:-20}

echo "== full build"
cmake -G Ninja -S . -B build/main -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build/main -j "$jobs"

echo "== non-GUI build with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -G Ninja -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug \
    -DORNET5_GUI=OFF -DORNET5_BENCH=OFF -DORNET5_SANITIZE=ON >/dev/null
cmake --build build/asan -j "$jobs"

echo "== fuzz targets (clang, libFuzzer)"
CC=clang CXX=clang++ cmake -G Ninja -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORNET5_GUI=OFF -DORNET5_TESTS=OFF -DORNET5_BENCH=OFF -DORNET5_FUZZ=ON >/dev/null
cmake --build build/fuzz -j "$jobs"

echo "== tests: full build"
# The window tests need a display; a virtual one serves everywhere.
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir build/main --output-on-failure -j "$jobs"

echo "== tests: sanitizer build"
ASAN_OPTIONS=halt_on_error=1:abort_on_error=0:detect_leaks=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir build/asan --output-on-failure -j "$jobs"

echo "== fuzzing, ${fuzz_seconds} s per target"
for target in build/fuzz/fuzz/fuzz_*; do
    [ -x "$target" ] || continue
    corpus="build/fuzz/corpus/$(basename "$target")"
    mkdir -p "$corpus"
    echo "-- $(basename "$target")"
    "$target" -max_total_time="$fuzz_seconds" -print_final_stats=0 "$corpus" 2>"$corpus.log" ||
        { tail -n 40 "$corpus.log"; echo "fuzz target $(basename "$target") failed"; exit 1; }
done
echo "All tests passed."
