#!/bin/bash
# Runs a Windows program under Wine with ornet5-sim serving COM3 of the
# Wine prefix, through the prefix's dosdevices/com3 link to the
# simulator's pseudo-terminal.
#
#   win32_run_with_sim.sh SIMULATOR [SIMULATOR-OPTIONS...] -- COMMAND [ARGS...]
#
# WINEPREFIX must be set. The program finds the simulator's log (requests,
# replies, line speeds) at $ORNET5_SIM_LOG. A line "ornet5-test: end the
# detector" on the program's output ends the simulator, as if the device
# had been unplugged; once it has gone, the line "gone" is written to the
# program's input. Exits with the program's exit code.
set -u

sim=$1
shift
simOptions=()
while [[ $# -gt 0 && $1 != -- ]]; do
    simOptions+=("$1")
    shift
done
shift
: "${WINEPREFIX:?WINEPREFIX must name the Wine prefix}"

export ORNET5_SIM_LOG
ORNET5_SIM_LOG=$(mktemp --tmpdir ornet5-sim-log.XXXXXX)
"$sim" "${simOptions[@]}" --link "$WINEPREFIX/dosdevices/com3" 2>"$ORNET5_SIM_LOG" &
simPid=$!

endSimulator() {
    if kill -0 "$simPid" 2>/dev/null; then
        kill -TERM "$simPid"
        wait "$simPid"
    fi
}
trap 'endSimulator; rm -f "$ORNET5_SIM_LOG"' EXIT

# The simulator says "ready" once the link is in place, within a second.
for _ in $(seq 200); do
    grep -q '^ready ' "$ORNET5_SIM_LOG" && break
    kill -0 "$simPid" 2>/dev/null || break
    sleep 0.05
done
if ! grep -q '^ready ' "$ORNET5_SIM_LOG"; then
    echo "ornet5-sim did not start:" >&2
    cat "$ORNET5_SIM_LOG" >&2
    exit 1
fi

coproc PROGRAM { "$@"; }
programPid=$PROGRAM_PID
programIn=${PROGRAM[1]}
while IFS= read -r line; do
    printf '%s\n' "$line"
    if [[ $line == *"ornet5-test: end the detector"* ]]; then
        endSimulator
        echo gone >&"$programIn"
    fi
done <&"${PROGRAM[0]}"
wait "$programPid"
status=$?
if [[ $status -ne 0 ]]; then
    echo "--- ornet5-sim log:" >&2
    cat "$ORNET5_SIM_LOG" >&2
fi
exit "$status"
