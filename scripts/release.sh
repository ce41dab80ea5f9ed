#!/usr/bin/env bash
# Builds and tests everything (the README's test command), then writes the
# files of a release to dist/:
#
#   ornet5_<version>_<arch>.deb    the Linux edition's Debian package
#   ORNET5-<version>-setup.exe     the Windows edition's installer
#   ORNET5.exe                     the Windows edition's bare program file
#   SHA256SUMS                     their checksums, for sha256sum -c
#
# The files are the very ones the test command has just built and tested.
# Any failing step ends the script with an error, and dist/ then holds no
# release.
set -euo pipefail
cd "$(dirname "$0")/.."

fail() {
    echo "release: $*" >&2
    exit 1
}

rm -rf dist
bash scripts/test.sh || fail "the tests failed: no release"

# Exactly one file must match: a stale second package would be ambiguous.
the_one() {
    [ $# -eq 1 ] && [ -f "$1" ] || fail "expected one file, found: $*"
    printf '%s\n' "$1"
}
deb=$(the_one build/main/ornet5_*.deb)
installer=$(the_one build/windows/ORNET5-*-setup.exe)
exe=$(the_one build/windows/ORNET5.exe)

mkdir dist
# A release is complete or not there at all.
trap '[ -f dist/SHA256SUMS ] || rm -rf dist' EXIT
cp "$deb" "$installer" "$exe" dist/
(cd dist && sha256sum -- * >SHA256SUMS.partial && mv SHA256SUMS.partial SHA256SUMS)
echo "Release files in $(pwd)/dist:"
ls -l dist
