#!/bin/bash
# The Windows edition's window thread under Wine while it polls ornet5-sim
# on COM3: a detector that answers, a silent one, and a line that babbles
# junk bytes; win32_window_thread_bench sends the main window a message
# every 2 ms and times the answers. On the virtual display the Windows
# tests run on (xvfb-run), with the prefix's Wine server.
#
#   win32_window_bench.sh SIMULATOR BENCH.EXE ORNET5.EXE [SECONDS]   (WINEPREFIX set)
#
# A case that cannot be measured ends the script with exit code 1.
set -euo pipefail
sim=$1
bench=$2
export ORNET5_EXE=$3
seconds=${4:-15}
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix}"
here=$(cd "$(dirname "$0")" && pwd)

echo "| case | messages | longest answer ms | median of each cycle's longest ms |"
echo "|---|---|---|---|"
# The floor: the benchmark itself, started without arguments, in the
# program's place: two windows and nothing to do.
ORNET5_EXE=$bench wine "$bench" "no program" "$seconds" 2>/dev/null | tr -d '\r' ||
    { echo "win32_window_bench: the floor could not be measured" >&2; exit 1; }
for mode in answered silent babbling; do
    case $mode in
        answered) simOptions=(--word FC7B) ;;
        silent) simOptions=(--silent) ;;
        babbling) simOptions=(--silent --babble 1) ;;
    esac
    if ! bash "$here/../tests/serial/win32_run_with_sim.sh" "$sim" "${simOptions[@]}" -- \
        bash -c 'exec wine "$@" 2>/dev/null' wine "$bench" "$mode" "$seconds" | tr -d '\r'; then
        echo "win32_window_bench: the $mode case could not be measured" >&2
        exit 1
    fi
done
