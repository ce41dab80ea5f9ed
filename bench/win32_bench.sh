#!/bin/bash
# The Windows benchmark under Wine: win32_cycle_bench against ornet5-sim on
# COM3, with a silent detector and then with one that answers. Each row
# gets the Wine server's processor time over the same stretch, since under
# Wine the device calls are carried out by the server.
#
#   win32_bench.sh SIMULATOR WIN32_CYCLE_BENCH.EXE      (WINEPREFIX set)
#
# A case that cannot be measured ends the script with exit code 1 and the
# reason on standard error.
set -euo pipefail
sim=$1
bench=$2
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix}"
here=$(cd "$(dirname "$0")" && pwd)
ticksPerSecond=$(getconf CLK_TCK)

log=$(mktemp --tmpdir ornet5-win32-bench.XXXXXX)
trap 'rm -f "$log"' EXIT

# The Wine server of a prefix works in a folder server-DEV-INODE named
# after the prefix folder (under /tmp/.wine-UID, or elsewhere in /tmp), and
# for a moment now and then in the prefix folder itself, to save the
# registry.
serverDir=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
prefixDir=$(cd "$WINEPREFIX" && pwd -P)

# The process id of the prefix's Wine server. Without the server there is
# nothing to measure: a share of 0 % would be a figure never measured. Each
# process is looked at with builtins only: starting a program for each
# would take seconds on a busy machine, long enough for the case to end.
findServer() {
    local proc comm cwd
    for proc in /proc/[0-9]*; do
        read -r comm 2>/dev/null <"$proc/comm" || continue
        [[ $comm == wineserver* ]] || continue
        cwd=$(readlink "$proc/cwd") || continue
        if [[ $cwd == */"$serverDir" || $cwd == "$prefixDir" ]]; then
            echo "${proc#/proc/}"
            return 0
        fi
    done
    echo "win32_bench: no Wine server of $WINEPREFIX (working in */$serverDir) found" >&2
    return 1
}

# The server's processor time so far, in clock ticks.
serverTicks() {
    local fields
    read -ra fields 2>/dev/null <"/proc/$1/stat" ||
        { echo "win32_bench: the Wine server (process $1) has ended" >&2; return 1; }
    echo $((fields[13] + fields[14]))
}

# Passes the benchmark's lines on, each row with the server's share added.
# Fails at a failed row, without the server, or when no row came.
addServerShare() {
    local line server start now calls msPerCall share rows=0
    while IFS= read -r line; do
        line=${line%$'\r'}  # a Windows program's line end
        case $line in
            "# start")
                server=$(findServer) || return 1
                start=$(serverTicks "$server") || return 1
                ;;
            "| case"*) ;;
            *"| failed at call"*)
                echo "$line"
                return 1
                ;;
            "| "*)
                now=$(serverTicks "$server") || return 1
                IFS='|' read -r _ _ calls msPerCall _ <<<"$line"
                share=$(awk -v t="$((now - start))" -v hz="$ticksPerSecond" -v n="$calls" \
                    -v ms="$msPerCall" 'BEGIN { printf "%.2f", 100 * t / hz / (n * ms / 1000) }')
                echo "$line $share |"
                rows=$((rows + 1))
                ;;
            *) echo "$line" ;;
        esac
    done
    [ "$rows" -gt 0 ] || { echo "win32_bench: the benchmark printed no row" >&2; return 1; }
}

echo "| case | calls | wall ms per call | process CPU % of wall | Wine server CPU % of wall |"
echo "|---|---|---|---|---|"
for mode in silent answering; do
    simOptions=(--silent)
    [[ $mode == answering ]] && simOptions=(--word FC7B)
    # The log keeps what the simulator's runner says; Wine's own standard
    # error, where its server lists thousands of objects as it ends, is left
    # out.
    if ! bash "$here/../tests/serial/win32_run_with_sim.sh" "$sim" "${simOptions[@]}" -- \
        bash -c 'exec wine "$@" 2>/dev/null' wine "$bench" "$mode" 2>"$log" | addServerShare; then
        echo "win32_bench: the $mode case could not be measured" >&2
        cat "$log" >&2
        exit 1
    fi
done
