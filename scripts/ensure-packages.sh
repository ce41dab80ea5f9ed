#!/usr/bin/env bash
# Installs the Debian packages of scripts/packages.txt that the named
# commands need and that are missing:
#
#   bash scripts/ensure-packages.sh run            what scripts/run.sh needs
#   bash scripts/ensure-packages.sh test package   what either needs
#   bash scripts/ensure-packages.sh                every package of the list
#
# As root it runs apt-get; otherwise it prints the line to run and fails.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
list="$here/packages.txt"

# Prints the packages under the headers naming any of the given commands
# (all of them when none is given); fails on a command no header names and
# on a package before the first header.
wanted_packages() {
    awk -v asked="$*" '
        BEGIN { n = split(asked, names, " "); for (i = 1; i <= n; i++) { want[names[i]] = 1 } }
        { sub(/#.*/, ""); gsub(/^[ \t]+|[ \t]+$/, "") }
        $0 == "" { next }
        /^\[.*\]$/ {
            header = substr($0, 2, length($0) - 2)
            taken = (n == 0)
            m = split(header, commands, " ")
            for (i = 1; i <= m; i++) {
                known[commands[i]] = 1
                if (commands[i] in want) { taken = 1 }
            }
            next
        }
        header == "" { printf "%s:%d: %s is under no [command] header\n", FILENAME, NR, $0 > "/dev/stderr"; bad = 1; exit }
        taken && !($0 in seen) { seen[$0] = 1; print }
        END {
            if (bad) { exit 1 }
            for (name in want) {
                if (!(name in known)) { printf "%s: no command \"%s\" (see its headers)\n", FILENAME, name > "/dev/stderr"; exit 1 }
            }
        }' "$list"
}

packages=$(wanted_packages "$@")
mapfile -t wanted <<<"$packages"
missing=()
for pkg in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
    if [ "$status" != 'install ok installed' ]; then
        missing+=("$pkg")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages. Run as root:" >&2
    echo "  apt-get update && apt-get install -y ${missing[*]}" >&2
    exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
