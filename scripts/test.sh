#!/usr/bin/env bash
# Builds everything and runs every test: the full build (windows included,
# under a virtual X display), the non-GUI units again under AddressSanitizer
# and UndefinedBehaviorSanitizer, the fuzz targets for a bounded time, and
# the Windows edition (cross-built with MinGW-w64) under Wine. It ends with
# the seconds each stage took, also when a stage fails.
#
# Every build folder is configured with all its options spelled out: the run
# command shares build/main with tests and benchmarks off.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/stage-times.sh

jobs=$(nproc)
fuzz_seconds=${ORNET5_FUZZ_SECONDS:-20}
wine_prefix="$PWD/build/windows/wineprefix"
wine_server_started=
finish() {
    local status=$?
    if [ -n "$wine_server_started" ]; then
        WINEPREFIX="$wine_prefix" wineserver -k 2>/dev/null || true
    fi
    stage_times "$status"
}
trap finish EXIT

stage packages "the Debian packages the tests need"
bash scripts/ensure-packages.sh test

stage "build main" "full build"
cmake -G Ninja -S . -B build/main -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORNET5_GUI=ON -DORNET5_TESTS=ON -DORNET5_BENCH=ON -DORNET5_SANITIZE=OFF -DORNET5_FUZZ=OFF \
    -DORNET5_SERVICE=ON >/dev/null
cmake --build build/main -j "$jobs"

stage "build asan" "non-GUI build with AddressSanitizer and UndefinedBehaviorSanitizer"
cmake -G Ninja -S . -B build/asan -DCMAKE_BUILD_TYPE=Debug \
    -DORNET5_GUI=OFF -DORNET5_TESTS=ON -DORNET5_BENCH=OFF -DORNET5_SANITIZE=ON -DORNET5_FUZZ=OFF \
    -DORNET5_SERVICE=ON >/dev/null
cmake --build build/asan -j "$jobs"

stage "build fuzz" "fuzz targets (clang, libFuzzer)"
CC=clang CXX=clang++ cmake -G Ninja -S . -B build/fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORNET5_GUI=OFF -DORNET5_TESTS=OFF -DORNET5_BENCH=OFF -DORNET5_SANITIZE=OFF -DORNET5_FUZZ=ON \
    -DORNET5_SERVICE=OFF >/dev/null
cmake --build build/fuzz -j "$jobs"

stage "build windows" "Windows edition (MinGW-w64); Wine sets up its prefix on the first run"
# The Windows tests against the detector simulator use the Linux build's.
cmake -G Ninja -S . -B build/windows -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
    -DORNET5_GUI=OFF -DORNET5_TESTS=ON -DORNET5_BENCH=ON -DORNET5_SANITIZE=OFF -DORNET5_FUZZ=OFF \
    -DORNET5_SIM_PROGRAM="$PWD/build/main/tools/ornet5-sim/ornet5-sim" >/dev/null
cmake --build build/windows -j "$jobs"

stage "tests main" "full build"
# The window tests need a display; a virtual one serves everywhere.
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --test-dir build/main --output-on-failure -j "$jobs"

stage "tests asan" "sanitizer build"
ASAN_OPTIONS=halt_on_error=1:abort_on_error=0:detect_leaks=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --test-dir build/asan --output-on-failure -j "$jobs"

stage "tests windows" "Windows edition under Wine"
# ORNET5.exe opens its windows on a virtual display; the console programs
# run there as well.
# One Wine server serves them all, and Wine's own services (started with
# the first program of a session, they live as long as the server) are
# started here, before the tests run side by side, with no output to hold:
# started by a test, they would keep that test's output open, and the test
# running, until the server ends. Left to itself the server ends a few
# seconds after each program and starts again with the next. The variables
# are those with which cmake/wine.cmake runs every Windows program. A test
# that still times out is run once more; one that hangs again fails.
# Its own messages (a dump of its objects when it is signalled) go to a
# file of their own.
wine_server_started=yes
WINEPREFIX="$wine_prefix" wineserver -p 2>build/windows/wineserver.log
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    LANG=ru_RU.UTF-8 WINEPREFIX="$1" WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= \
        wine wineboot </dev/null >/dev/null 2>&1 &&
    ctest --test-dir build/windows --output-on-failure -j "$2" --repeat after-timeout:2
' _ "$wine_prefix" "$jobs"
WINEPREFIX="$wine_prefix" wineserver -k 2>/dev/null || true
wine_server_started=

stage installer "Windows installer: built, installed into a fresh Wine prefix, run and uninstalled"
installer=$(ORNET5_JOBS="$jobs" bash scripts/windows-installer.sh build/windows)
bash tests/installer/installer_test.sh "$installer" \
    build/windows/tests/win32/ornet5_exe_test.exe build/main/tools/ornet5-sim/ornet5-sim

stage package "Debian package: built, unpacked and run"
package=$(ORNET5_JOBS="$jobs" bash scripts/package.sh build/main)
bash tests/package/package_test.sh "$package"

stage fuzzers "${fuzz_seconds} s per target"
# Every target that fuzz/CMakeLists.txt declares must have been built: a
# missing one would otherwise pass unnoticed.
mapfile -t fuzz_targets < <(sed -n 's/^ornet5_add_fuzzer(\([A-Za-z0-9_]*\).*/\1/p' fuzz/CMakeLists.txt)
[ ${#fuzz_targets[@]} -gt 0 ] || { echo "no fuzz target declared in fuzz/CMakeLists.txt" >&2; exit 1; }
for name in "${fuzz_targets[@]}"; do
    target="build/fuzz/fuzz/$name"
    [ -x "$target" ] || { echo "fuzz target $name was not built at $target" >&2; exit 1; }
    corpus="build/fuzz/corpus/$name"
    mkdir -p "$corpus"
    echo "-- $name"
    "$target" -max_total_time="$fuzz_seconds" -print_final_stats=0 "$corpus" 2>"$corpus.log" ||
        { tail -n 40 "$corpus.log"; echo "fuzz target $name failed"; exit 1; }
done
echo "All tests passed."
