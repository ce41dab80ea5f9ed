#!/usr/bin/env bash
# The Windows installer as a user meets it, under Wine in a fresh prefix of
# its own: its first page speaks Russian; a silent install puts the program,
# its Start-menu entry and its "Apps & features" entry in place; the
# installed program polls the simulator and shows the dose; the silent
# uninstall named by that entry takes the program away and leaves the
# user's settings and data.
#
#   bash tests/installer/installer_test.sh SETUP.exe EXE_TEST.exe SIMULATOR
#
# EXE_TEST.exe is the Windows edition's end-to-end test (ornet5_exe_test),
# here given the installed program; SIMULATOR is the Linux ornet5-sim.
set -euo pipefail
[ $# -eq 3 ] || { echo "usage: $0 SETUP.exe EXE_TEST.exe SIMULATOR" >&2; exit 2; }
[ -n "${DISPLAY:-}" ] || exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
setup=$(realpath "$1") exeTest=$(realpath "$2") simulator=$(realpath "$3")
here=$(cd "$(dirname "$0")" && pwd)
start=$SECONDS
step() { echo "-- $* (at $((SECONDS - start)) s)"; }
fail() { echo "installer test: $*" >&2; exit 1; }

work=$(mktemp -d)
# Russian, as the end-to-end test expects; no Mono or Gecko download asked.
export WINEPREFIX=$work/prefix LANG=ru_RU.UTF-8 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
folder="$WINEPREFIX/drive_c/Program Files/ORNET5"
shortcut="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/ОРНЕТ-5.lnk"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\ORNET5'
version=$(basename "$setup" -setup.exe)
version=${version#ORNET5-}
# A Windows folder named by its environment variable, as a Linux path.
windows_folder() { winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')"; }
installer_windows() { xwininfo -root -tree | grep -c '"Установка ОРНЕТ-5"' || true; }

step "a fresh Wine prefix"
DISPLAY= wine wineboot -i >/dev/null 2>&1 && wineserver -w || fail "Wine could not set up $WINEPREFIX"
# The simulator's end below makes the Wine server print a dump of its
# objects: until the uninstall, one server of the test's own writes to a log.
wineserver -p 2>"$work/wineserver.log"

step "the installer's first page, in Russian"
wine "$setup" >/dev/null 2>&1 &
setupPid=$!
for _ in $(seq 300); do
    [ "$(installer_windows)" -gt 0 ] && break
    sleep 0.1
done
[ "$(installer_windows)" -gt 0 ] || fail "no installer window \"Установка ОРНЕТ-5\" appeared"
wine taskkill /f /im "$(basename "$setup")" >/dev/null 2>&1 || fail "the installer did not end"
wait "$setupPid" || true

step "silent install"
wine "$setup" /S || fail "setup.exe /S ended with exit code $?"
[ -x "$folder/ORNET5.exe" ] || fail "no ORNET5.exe in Program Files\\ORNET5"
grep -aqF 'C:\Program Files\ORNET5\ORNET5.exe' "$shortcut" ||
    fail "no Start-menu entry ОРНЕТ-5 that starts the installed program"

step "the \"Apps & features\" entry"
# reg writes in the console's code page, Russian CP866 here.
entry=$(wine reg query "$key" | iconv -f CP866 -t UTF-8 |
    sed -n 's/^ \+\([A-Za-z]\+\) \+REG_SZ \+\(.*\)\r$/\1=\2/p') || fail "no key $key"
for expected in 'DisplayName=ОРНЕТ-5' "DisplayVersion=$version" 'Publisher=ORNET5 developers' \
    'DisplayIcon=C:\Program Files\ORNET5\ORNET5.exe,0'; do
    grep -qxF "$expected" <<<"$entry" || fail "no $expected under $key: $entry"
done
uninstaller=$(sed -n 's/^UninstallString="\(.*\)"$/\1/p' <<<"$entry")

step "the installed program polls the simulator"
# The dose case ends the simulator; the file case checks the installed
# program's version and icon.
bash "$here/../serial/win32_run_with_sim.sh" "$simulator" --word FC7B -- \
    env 'ORNET5_EXE=C:\Program Files\ORNET5\ORNET5.exe' wine "$exeTest" \
    --gtest_filter='Ornet5Exe.AnOldDoseTurnsGreyWhenTheDetectorGoesAway:Ornet5ExeFile.*' \
    >"$work/exe-test.log" 2>&1 ||
    { cat "$work/exe-test.log"; fail "the installed program failed its end-to-end test"; }
grep -F '[       OK ]' "$work/exe-test.log"
settings="$(windows_folder APPDATA)/ORNET5.INI"
[ -f "$settings" ] || fail "the program wrote no settings file $settings"
data="$(windows_folder LOCALAPPDATA)/ORNET5/journal"
mkdir -p "$data" && echo readings >"$data/readings"

step "silent uninstall, as \"Apps & features\" starts it"
# The uninstaller goes on from a copy of itself in the temporary folder, so
# that it can delete its own file: a server that ends with the last program
# of the prefix is waited for.
wineserver -k
wine "$uninstaller" /S || fail "$uninstaller /S ended with exit code $?"
wineserver -w
[ ! -e "$folder" ] || fail "Program Files\\ORNET5 is left: $(ls -A "$folder")"
[ ! -e "$shortcut" ] || fail "the Start-menu entry is left"
! wine reg query "$key" >/dev/null 2>&1 || fail "the key $key is left"
[ -f "$settings" ] && [ -f "$data/readings" ] || fail "the user's settings file or data are gone"
echo "installer test: all checks passed in $((SECONDS - start)) s"
