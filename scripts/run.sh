#!/usr/bin/env bash
# Builds the monitor and runs it against the bundled detector simulator,
# which is linked as COM3 under the user's config folder. The simulator is
# stopped when the monitor ends.
#
# Without a display ($DISPLAY empty) the monitor runs under a virtual X
# server for about 10 s instead: ornet5-window-shots runs the program's own
# start-up, lets it poll the simulator, opens the settings window through
# the popup menu's action after 8 s, and writes the main window and the
# settings window side by side to build/demo.png.
#
# It installs and builds only what that takes: the tests, the benchmarks and
# the Windows edition are the test command's. The build folder is the test
# command's build/main, which sets its options again, so either command may
# come first.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/ensure-packages.sh run
cmake -G Ninja -S . -B build/main -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORNET5_GUI=ON -DORNET5_TESTS=OFF -DORNET5_BENCH=OFF -DORNET5_SANITIZE=OFF -DORNET5_FUZZ=OFF \
    -DORNET5_SERVICE=OFF >/dev/null
cmake --build build/main -j "$(nproc)" --target ORNET5 ornet5-sim ornet5-window-shots

simulator=build/main/tools/ornet5-sim/ornet5-sim
program=build/main/app/qt/ORNET5
shots=build/main/app/qt/ornet5-window-shots
link="${XDG_CONFIG_HOME:-$HOME/.config}/ornet5/com3"
simulator_log=build/ornet5-sim.log

"$simulator" --link "$link" 2>"$simulator_log" &
simulator_pid=$!
stop_simulator() {
    kill -TERM "$simulator_pid" 2>/dev/null || true
    wait "$simulator_pid" 2>/dev/null || true
}
trap stop_simulator EXIT

for _ in $(seq 100); do
    grep -q '^ready' "$simulator_log" && break
    kill -0 "$simulator_pid" 2>/dev/null || { cat "$simulator_log" >&2; exit 1; }
    sleep 0.1
done
grep -q '^ready' "$simulator_log" || { echo "the simulator did not start" >&2; exit 1; }
echo "Simulated detector linked at $link (log: $simulator_log)"

if [ -n "${DISPLAY:-}" ]; then
    echo "Starting ORNET5; the dose appears about 6 s after start. Close its window to end."
    "$program"
else
    echo "No display: running the monitor under Xvfb for about 10 s."
    xvfb-run -a -s "-screen 0 1024x768x24" "$shots" build/demo 8
    cp build/demo/demo.png build/demo.png
    echo "Screenshot of the main window and the settings window: $(pwd)/build/demo.png"
fi
