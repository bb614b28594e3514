#!/bin/sh
# blanking_xorg.sh <morv or morv.scr> <wine-run.sh or -> <work dir>
# The saver in full screen on a private Xorg (dummy video driver) whose 1600 x 600
# screen is two RandR monitors of 800 x 600, made with xrandr --setmonitor over two of
# the driver's outputs. The desktop is painted white first; while "/s" runs, one
# monitor shows the picture and the other is black; after a key the white comes back.
# With wine-run.sh the Windows program runs under wine64, which sees the two outputs as
# two monitors. Screenshots are left in the work dir (monitors.png, monitors-after.png).
set -u
program=$1
wine_run=$2
work=$3
mkdir -p "$work"
work=$(cd "$work" && pwd)
. "$(dirname "$0")/../../tools/private-xorg.sh"
export ZV_WINEPREFIX="$work/wineprefix"
wineserver=/usr/lib/wine/wineserver
failures=0
runner=

cleanup() {
  [ -n "$runner" ] && kill "$runner" 2>/dev/null
  [ "$wine_run" != - ] && WINEPREFIX="$ZV_WINEPREFIX" timeout 20 "$wineserver" -k >/dev/null 2>&1
  stop_private_xorg
  wait 2>/dev/null
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

for tool in Xorg xrandr xsetroot xdotool import convert; do
  command -v $tool >/dev/null || { echo "missing $tool"; exit 1; }
done
if [ "$(id -u)" != 0 ]; then
  echo "SKIP: Xorg with a configuration of our own runs only as root"
  exit 0
fi

start_private_xorg "$work" 1600x600 800x600 640x400 || exit 1

# Two outputs side by side, each an 800 x 600 monitor of its own name.
xrandr --addmode DUMMY1 800x600 &&
  xrandr --fb 1600x600 --output DUMMY0 --mode 800x600 --pos 0x0 --output DUMMY1 --mode 800x600 --pos 800x0 &&
  xrandr --setmonitor left 800/212x600/159+0+0 DUMMY0 >/dev/null &&
  xrandr --setmonitor right 800/212x600/159+800+0 DUMMY1 >/dev/null || { echo "cannot make two monitors"; exit 1; }
monitors=$(xrandr --listmonitors | awk 'NR == 1 { print $2 }')
[ "$monitors" = 2 ] || { echo "the server shows $monitors monitors, not 2"; exit 1; }
xsetroot -solid white

if [ "$wine_run" = - ]; then
  run() { timeout 40 "$program" "$@"; }
else
  timeout 180 "$wine_run" wineboot -i >/dev/null 2>&1
  run() { timeout 60 "$wine_run" "$program" "$@"; }
fi

# stats <png> <WxH+X+Y>: "darkest brightest mean" of that part of the screenshot.
stats() { convert "$1" -crop "$2" +repage -colorspace gray -format '%[fx:minima] %[fx:maxima] %[fx:mean]' info: 2>/dev/null; }

# The pointer on the left monitor: the saver opens there.
xdotool mousemove 400 300
rm -f "$work/saver.rc"
(run /s </dev/null >"$work/saver.log" 2>&1; echo $? >"$work/saver.rc") &
runner=$!

# geometry <output>: "WxH+X+Y" of that output's picture now (a display mode change
# under wine moves and resizes them).
geometry() { xrandr | awk -v o="$1" '$1 == o { for (i = 3; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+/) { print $i; exit } }'; }

# Up when the right monitor has turned black (10 s at most for the native program,
# 60 s under wine, whose first start builds its prefix).
shot="$work/monitors.png"
for _ in $(seq 1 120); do
  [ -e "$work/saver.rc" ] && break
  import -window root "$shot" 2>/dev/null
  set -- $(stats "$shot" "$(geometry DUMMY1)")
  [ "${2:-1}" = 0 ] && break
  sleep 0.5
done
sleep 1
import -window root "$shot" 2>/dev/null
left=$(geometry DUMMY0)
right=$(geometry DUMMY1)
echo "monitors while the saver runs: left $left, right $right"
set -- $(stats "$shot" "$right")
if [ "${2:-1}" = 0 ]; then
  echo "ok: the right monitor is black while the saver runs ($shot)"
else
  fail "the right monitor ($right) is not black (darkest ${1:-?}, brightest ${2:-?}) in $shot"
fi
# The picture centred on the left monitor: mostly black, with the tower's and the text's pixels.
w=${left%%x*}
rest=${left#*x}
h=${rest%%+*}
x=$(echo "$left" | cut -d+ -f2)
y=$(echo "$left" | cut -d+ -f3)
picture="640x400+$((x + (w - 640) / 2))+$((y + (h - 400) / 2))"
# The first frame may come a little after the window (10 s at most).
for _ in $(seq 1 40); do
  set -- $(stats "$shot" "$picture")
  [ "${2:-0}" != 0 ] && break
  sleep 0.25
  import -window root "$shot" 2>/dev/null
done
set -- $(stats "$shot" "$picture")
if [ "${2:-0}" != 0 ] && awk -v m="${3:-1}" 'BEGIN { exit !(m < 0.2) }'; then
  echo "ok: the picture is on the left monitor at $picture"
else
  fail "no picture at $picture on the left monitor (darkest, brightest, mean: $*)"
fi

xdotool key space
for _ in $(seq 1 60); do
  [ -e "$work/saver.rc" ] && break
  sleep 0.5
done
wait "$runner" 2>/dev/null
runner=
rc=$(cat "$work/saver.rc" 2>/dev/null || echo missing)
[ "$rc" = 0 ] && echo "ok: a key ends the saver with exit code 0" || fail "exit code $rc: $(tail -n 3 "$work/saver.log")"
sleep 1
import -window root "$work/monitors-after.png" 2>/dev/null
right=$(geometry DUMMY1)
set -- $(stats "$work/monitors-after.png" "$right")
[ "${1:-0}" = 1 ] && echo "ok: the right monitor ($right) is white again" || fail "the right monitor is still covered after the end"

[ "$failures" = 0 ] || exit 1
echo "every monitor was dark while the saver ran"
