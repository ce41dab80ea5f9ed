#!/usr/bin/env bash
# Builds the Debian package of the Linux edition and prints its path:
#
#   bash scripts/package.sh                 build/package/ornet5_<version>_<arch>.deb
#   bash scripts/package.sh BUILD_FOLDER    the package from a folder already
#                                           configured (the test command uses
#                                           build/main, saving a second build)
#
# Without a folder the build is an optimised one of its own, without tests.
# Only the path goes to standard output; the build's progress goes to
# standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-packages.sh package >&2
folder=${1:-build/package}
if [ $# -eq 0 ]; then
    cmake -G Ninja -S . -B "$folder" -DCMAKE_BUILD_TYPE=Release \
        -DORNET5_TESTS=OFF -DORNET5_BENCH=OFF -DORNET5_SERVICE=ON >/dev/null
fi
[ -f "$folder/CPackConfig.cmake" ] || { echo "$folder is not a configured build folder" >&2; exit 1; }
cmake --build "$folder" -j "${ORNET5_JOBS:-$(nproc)}" --target ORNET5 ornet5-sim ornet5d >&2
rm -f "$folder"/ornet5_*.deb
(cd "$folder" && cpack -G DEB >&2)
ls "$(realpath "$folder")"/ornet5_*.deb
