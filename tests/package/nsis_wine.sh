#!/bin/sh
# nsis_wine.sh <win64 build dir> <wine-run.sh> <work dir>
# Builds the installer and the zip of the Windows build, then, under wine64 in a prefix
# of its own, installs silently and checks the file and the screensaver setting:
#  1. with /CURRENT the saver becomes the current one; uninstalling gives back the
#     saver that was set before and removes the files and the uninstall entry;
#  2. without /CURRENT the setting stays; a saver chosen after installing stays when
#     morv is uninstalled;
#  3. over a newer installed version a silent install refuses (exit code 2) and
#     changes nothing.
set -u
build=$1
wine_run=$2
work=$3
rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
. "$(dirname "$0")/../../tools/private-xvfb.sh"
export ZV_WINEPREFIX="$work/wineprefix"
failures=0
xvfb_pid=
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
cleanup() {
  WINEPREFIX="$ZV_WINEPREFIX" timeout 20 /usr/lib/wine/wineserver -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
trap 'exit 1' INT TERM

cpack --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
installer=$(ls "$work"/out/*.exe 2>/dev/null | head -1)
zip=$(ls "$work"/out/*.zip 2>/dev/null | head -1)
[ -n "$installer" ] || { echo "FAIL: no installer in $work/out"; exit 1; }
echo "installer: $installer ($(stat -c %s "$installer") bytes)"
if [ -n "$zip" ] && unzip -l "$zip" | grep -q ' morv.scr$'; then
  echo "zip: $zip ($(stat -c %s "$zip") bytes)"
else
  fail "no zip holding morv.scr"
fi

start_private_xvfb "$work" || exit 1
timeout 120 "$wine_run" wineboot -i >/dev/null 2>&1

drive=$ZV_WINEPREFIX/drive_c
folder="$drive/Program Files/morv"
desktop='HKCU\Control Panel\Desktop'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\morv'
wine() { timeout 120 "$wine_run" "$@" </dev/null; }
# value <key> <name>: the registry value's data, empty when it is not there.
value() {
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
set_saver() { wine reg add "$desktop" /v SCRNSAVE.EXE /d "$1" /f >/dev/null 2>&1; }
install() { wine "$installer" /S "$@"; }
# The uninstaller copies itself away and runs from there: wait for it to finish.
uninstall() {
  wine "$folder/Uninstall.exe" /S
  for _ in $(seq 1 60); do
    [ -e "$folder/Uninstall.exe" ] || return 0
    sleep 1
  done
  fail "the uninstaller did not finish"
}
is_morv() { echo "$1" | grep -qi 'morv.scr$\|PROGRA~1\\MORV\\MORV.SCR$'; }

# Another saver is set before.
mkdir -p "$drive/windows/system32"
: >"$drive/windows/system32/other.scr"
: >"$drive/windows/system32/third.scr"
set_saver 'C:\windows\system32\other.scr'

echo "1. install /S /CURRENT, uninstall"
install /CURRENT || fail "the installer ended with code $?"
[ -f "$folder/morv.scr" ] || fail "morv.scr is not installed"
saver=$(value "$desktop" SCRNSAVE.EXE)
is_morv "$saver" && echo "ok: SCRNSAVE.EXE = $saver" || fail "SCRNSAVE.EXE is '$saver', not morv"
[ "$(value "$uninstall_key" DisplayVersion)" != "" ] || fail "no uninstall entry"
uninstall
[ -e "$folder" ] && fail "the install folder is left: $(ls "$folder")"
[ "$(value "$uninstall_key" DisplayVersion)" = "" ] || fail "the uninstall entry is left"
saver=$(value "$desktop" SCRNSAVE.EXE)
[ "$saver" = 'C:\windows\system32\other.scr' ] && echo "ok: the previous saver is back" \
  || fail "after uninstalling SCRNSAVE.EXE is '$saver', not the previous saver"

echo "2. install /S, another saver chosen, uninstall"
install || fail "the installer ended with code $?"
saver=$(value "$desktop" SCRNSAVE.EXE)
[ "$saver" = 'C:\windows\system32\other.scr' ] || fail "without /CURRENT SCRNSAVE.EXE changed to '$saver'"
install /CURRENT || fail "the second install ended with code $?"
set_saver 'C:\windows\system32\third.scr'
uninstall
saver=$(value "$desktop" SCRNSAVE.EXE)
[ "$saver" = 'C:\windows\system32\third.scr' ] && echo "ok: a saver chosen since stays" \
  || fail "uninstalling changed SCRNSAVE.EXE from another saver to '$saver'"

echo "3. a newer version installed"
install || fail "the installer ended with code $?"
wine reg add "$uninstall_key" /v DisplayVersion /d 9.0.0 /f >/dev/null 2>&1
rm -f "$folder/morv.scr"
install /CURRENT
code=$?
[ "$code" = 2 ] && echo "ok: the silent install over 9.0.0 refuses" || fail "over 9.0.0 the installer ended with code $code"
[ -e "$folder/morv.scr" ] && fail "the installer replaced the newer version"
[ "$(value "$uninstall_key" DisplayVersion)" = 9.0.0 ] || fail "the newer version's entry changed"
[ "$(value "$desktop" SCRNSAVE.EXE)" = 'C:\windows\system32\third.scr' ] || fail "the refused install changed the setting"
uninstall

[ "$failures" = 0 ] && echo "nsis_wine: all checks passed"
[ "$failures" = 0 ]
