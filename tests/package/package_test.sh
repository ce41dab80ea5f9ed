#!/usr/bin/env bash
# The Debian package as a user receives it: unpacked into a temporary root
# with dpkg-deb, its files, its desktop entry and its declared dependencies
# are checked; the logging service's unit, its example configuration (a
# conffile, which the unpacked service must accept) and the user its
# postinst makes; then the unpacked monitor polls the unpacked simulator on
# a virtual X display and must show a dose in its window.
#
#   bash tests/package/package_test.sh build/package/ornet5_<version>_<arch>.deb
set -euo pipefail
[ $# -eq 1 ] && [ -f "$1" ] || { echo "usage: $0 PACKAGE.deb" >&2; exit 2; }
deb=$(realpath "$1")
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$deb"
fi

fail() {
    echo "package test: $*" >&2
    exit 1
}

work=$(mktemp -d)
pids=()
finish() {
    for pid in "${pids[@]}"; do
        kill -TERM "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap finish EXIT
root=$work/root
dpkg-deb -x "$deb" "$root"

echo "-- files"
program=$root/usr/bin/ORNET5
simulator=$root/usr/bin/ornet5-sim
entry=$root/usr/share/applications/ornet5.desktop
icon=$root/usr/share/icons/hicolor/32x32/apps/ornet5.png
service=$root/usr/bin/ornet5d
for file in "$program" "$simulator" "$service"; do
    [ -x "$file" ] || fail "no program ${file#"$root"}"
done
[ -f "$entry" ] || fail "no desktop entry ${entry#"$root"}"
[ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG 32x32" ] ||
    fail "no 32x32 PNG icon at ${icon#"$root"}"

echo "-- desktop entry"
desktop-file-validate "$entry" || fail "desktop-file-validate refused the entry"
# The menu starts what Exec names from the PATH and shows the icon by name.
grep -qx 'Exec=ORNET5' "$entry" || fail "the entry does not start /usr/bin/ORNET5"
grep -qx 'Icon=ornet5' "$entry" || fail "the entry's icon is not the installed ornet5.png"
grep -q '^Comment\[ru\]=.' "$entry" || fail "the entry has no Russian comment"

echo "-- dependencies"
depends=$(dpkg-deb -f "$deb" Depends)
# The package names of the Depends field, one a line, versions dropped.
names=$(tr ',' '\n' <<<"$depends" | awk '{ print $1 }')
declared() { grep -qxF "$1" <<<"$names"; }
# Every library a program links directly must come from a declared package.
for file in "$program" "$simulator" "$service"; do
    for library in $(objdump -p "$file" | awk '$1 == "NEEDED" { print $2 }'); do
        # Each reader below takes its whole input: one that stopped at the
        # first match would end the writer with SIGPIPE, which pipefail
        # turns into a failed test.
        path=$(ldconfig -p | awk -v name="$library" '$1 == name && !found { print $NF; found = 1 }')
        [ -n "$path" ] || fail "$library, needed by ${file#"$root"}, is not on this system"
        owner=$(dpkg -S "$(realpath "$path")" 2>/dev/null | awk -F: 'NR == 1 { print $1 }') ||
            owner=$(dpkg -S "$path" | awk -F: 'NR == 1 { print $1 }')
        declared "$owner" || fail "$library of ${file#"$root"} comes from $owner, not declared: $depends"
    done
done
# What Qt and the windows load at run time, which no linker sees.
for package in qt6-qpa-plugins fonts-liberation; do
    declared "$package" || fail "$package not declared: $depends"
done

echo "-- the logging service"
unit=$root/lib/systemd/system/ornet5d.service
[ -f "$unit" ] || fail "no service unit ${unit#"$root"}"
# What the unit starts must be in the package: the program and the file
# named after --config.
start=$(sed -n 's/^ExecStart=//p' "$unit")
[ "${start%% *}" = /usr/bin/ornet5d ] || fail "the unit does not start /usr/bin/ornet5d: $start"
config=$(sed -n 's/.* --config \([^ ]*\).*/\1/p' <<<"$start")
[ -n "$config" ] && [ -f "$root$config" ] || fail "the unit's configuration '$config' is not in the package"
control=$work/control
dpkg-deb -e "$deb" "$control"
grep -qxF "$config" "$control/conffiles" 2>/dev/null ||
    fail "$config is not marked as a configuration file"
# The unpacked service checks the unpacked example as the installed one would.
"$service" --config "$root$config" --check >"$work/check.log" 2>&1 ||
    fail "ornet5d refuses the example $config: $(cat "$work/check.log")"
# The postinst, run twice (an install, then an upgrade) against an overlay
# of /etc in a mount namespace of its own, so that the machine's users stay
# as they are. It must make the unit's user, a system user without login in
# the serial ports' group, and enable nothing.
user=$(sed -n 's/^User=//p' "$unit")
if [ "$(id -u)" -ne 0 ] || ! unshare --mount true 2>/dev/null; then
    echo "package test: the postinst's user is not checked (needs root and mount namespaces)"
else
    mkdir -p "$work/etc-upper" "$work/etc-work"
    unshare --mount --propagation private sh -c '
        mount -t overlay overlay -o "lowerdir=/etc,upperdir=$1/etc-upper,workdir=$1/etc-work" /etc &&
        sh "$2/postinst" configure && sh "$2/postinst" configure 1.0.0.0 &&
        getent passwd "$3" >"$1/passwd" && id -nG "$3" >"$1/groups"' \
        _ "$work" "$control" "$user" >"$work/postinst.log" 2>&1 ||
        fail "the postinst failed: $(cat "$work/postinst.log")"
    IFS=: read -r _ _ uid _ _ home shell <"$work/passwd"
    [ "$uid" -lt 1000 ] && [ "$home" = /var/lib/ornet5 ] && [ "$shell" = /usr/sbin/nologin ] ||
        fail "the postinst's user is not a system user at /var/lib/ornet5 without login: $(cat "$work/passwd")"
    [[ " $(cat "$work/groups") " == *" dialout "* ]] ||
        fail "the postinst's user is not in the group dialout: $(cat "$work/groups")"
    enabled=$(find "$work/etc-upper" -name ornet5d.service)
    [ -z "$enabled" ] || fail "the postinst enabled the service: $enabled"
fi

echo "-- the unpacked monitor polls the unpacked simulator"
export XDG_CONFIG_HOME=$work/config
simulator_log=$work/sim.log
program_log=$work/program.log
# Wait until the log holds a line matching the pattern, at most 20 s.
await_log() {
    for _ in $(seq 200); do
        grep -q "$1" "$simulator_log" && return 0
        sleep 0.1
    done
    fail "no '$1' in the simulator's log: $(cat "$simulator_log")"
}
# 1.23 uSv/h: four digits "1,20" where the placeholder text stood.
"$simulator" --reading 1.23 2>"$simulator_log" &
pids+=($!)
await_log '^ready'

"$program" 2>"$program_log" &
pids+=($!)
window=
for _ in $(seq 100); do
    window=$(xwininfo -root -tree | awk '/"ORNET5" "ORNET5"/ && / 385x146/ && !found { print $1; found = 1 }')
    [ -n "$window" ] && break
    sleep 0.1
done
[ -n "$window" ] || fail "no main window appeared: $(cat "$program_log")"
# The first poll, 3 s after start, only identifies the detector: the window
# has long been drawn and still shows its placeholder. The dose comes with
# the second poll.
await_log 'identify request'
import -window "$window" "$work/before.png"
await_log 'read-dose request'
sleep 1
import -window "$window" "$work/after.png"
[ -n "${ORNET5_PACKAGE_SHOT:-}" ] && cp "$work/after.png" "$ORNET5_PACKAGE_SHOT"
# The dose label's ink: the near-black pixels of its large digits. A new
# dose changes their shape; the placeholder kept, or a dose drawn in the
# grey of a failed reading, does not give such a change.
ink() {
    convert "$1" -crop 385x121+0+24 +repage -colorspace Gray -threshold 30% -negate "$2"
}
ink "$work/before.png" "$work/before-ink.png"
ink "$work/after.png" "$work/after-ink.png"
inked=$(convert "$work/after-ink.png" -format '%[fx:round(mean*w*h)]' info:)
changed=$(compare -metric AE "$work/before-ink.png" "$work/after-ink.png" null: 2>&1 || true)
[ "${inked%%.*}" -gt 1000 ] && [ "${changed%%.*}" -gt 1000 ] 2>/dev/null ||
    fail "no dose shown: $inked dark pixels, $changed changed since the placeholder"
if grep -q 'не открывается' "$program_log"; then
    fail "the monitor could not open the simulator's port: $(cat "$program_log")"
fi
echo "package test: all checks passed"
