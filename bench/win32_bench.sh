#!/bin/bash
# The Windows benchmark under Wine: win32_cycle_bench against ornet5-sim on
# COM3, with a silent detector and then with one that answers. Each row
# gets the Wine server's processor time over the same stretch, since under
# Wine the device calls are carried out by the server.
#
#   win32_bench.sh SIMULATOR WIN32_CYCLE_BENCH.EXE      (WINEPREFIX set)
set -euo pipefail
sim=$1
bench=$2
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix}"
here=$(cd "$(dirname "$0")" && pwd)
ticksPerSecond=$(getconf CLK_TCK)

# The Wine server of a prefix works in a folder server-DEV-INODE named
# after the prefix folder (under /tmp/.wine-UID, or elsewhere in /tmp).
serverDir=$(printf 'server-%x-%x' "$(stat -c %d "$WINEPREFIX")" "$(stat -c %i "$WINEPREFIX")")
serverTicks() {
    local proc fields
    for proc in /proc/[0-9]*; do
        if [[ $(readlink "$proc/cwd" 2>/dev/null) == */"$serverDir" ]]; then
            read -ra fields <"$proc/stat"
            echo $((fields[13] + fields[14]))
            return
        fi
    done
    echo 0
}

echo "| case | calls | wall ms per call | process CPU % of wall | Wine server CPU % of wall |"
echo "|---|---|---|---|---|"
for mode in silent answering; do
    simOptions=(--silent)
    [[ $mode == answering ]] && simOptions=(--word FC7B)
    bash "$here/../tests/serial/win32_run_with_sim.sh" "$sim" "${simOptions[@]}" -- \
        wine "$bench" "$mode" 2>/dev/null |
        while IFS= read -r line; do
            line=${line%$'\r'}  # a Windows program's line end
            case $line in
                "# start") start=$(serverTicks) ;;
                "| case"*) ;;
                "| "*)
                    IFS='|' read -r _ _ calls msPerCall _ <<<"$line"
                    used=$(($(serverTicks) - start))
                    share=$(awk -v t="$used" -v hz="$ticksPerSecond" -v n="$calls" -v ms="$msPerCall" \
                        'BEGIN { printf "%.2f", 100 * t / hz / (n * ms / 1000) }')
                    echo "$line $share |"
                    ;;
                *) echo "$line" ;;
            esac
        done
done
