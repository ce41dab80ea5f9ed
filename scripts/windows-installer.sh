#!/usr/bin/env bash
# Builds the Windows installer, ORNET5-<version>-setup.exe, and prints its
# path:
#
#   bash scripts/windows-installer.sh                 build/windows-installer/ORNET5-<version>-setup.exe
#   bash scripts/windows-installer.sh BUILD_FOLDER    the installer from a Windows build
#                                                     folder already configured (the test
#                                                     command uses build/windows)
#
# Without a folder the build is an optimised one of its own, without tests.
# Only the path goes to standard output; the build's progress goes to
# standard error.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-packages.sh windows-installer >&2
folder=${1:-build/windows-installer}
if [ $# -eq 0 ]; then
    cmake -G Ninja -S . -B "$folder" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
        -DORNET5_TESTS=OFF -DORNET5_BENCH=OFF >/dev/null
fi
grep -qs '^set(CPACK_GENERATOR "NSIS")' "$folder/CPackConfig.cmake" ||
    { echo "$folder is not a configured Windows build folder" >&2; exit 1; }
cmake --build "$folder" -j "${ORNET5_JOBS:-$(nproc)}" --target ORNET5 >&2
rm -f "$folder"/ORNET5-*-setup.exe
(cd "$folder" && cpack -G NSIS >&2)
ls "$(realpath "$folder")"/ORNET5-*-setup.exe
