#!/bin/sh
# saver_wine.sh <morv.scr> <wine-run.sh> <work dir>
# The Windows program under wine64 on a private Xvfb, driven with xdotool as a user
# would: "morv.scr /s" shows the tower and the credit line and ends with exit code 0
# on a key, on a mouse move and on the window's close button; "morv.scr" answered Yes
# runs the saver too; "/c" shows the no-options box; "/p 1234" ends at once. Xvfb
# offers no 640 x 400 display mode, so the full-screen tries fail and the saver opens
# in a window; the script says where the screen opened. The system's screensaver is
# off while the saver runs and as before afterwards. Screenshots are left in the work dir.
set -u
program=$1
wine_run=$2
work=$3
mkdir -p "$work"
work=$(cd "$work" && pwd)
. "$(dirname "$0")/../../tools/private-xvfb.sh"
. "$(dirname "$0")/../../tools/e2e-runs.sh"
# A prefix of its own: ending its wineserver cannot disturb other tests.
export ZV_WINEPREFIX="$work/wineprefix"
wineserver=/usr/lib/wine/wineserver
failures=0
xvfb_pid=
runner=
shots=

cleanup() {
  [ -n "$runner" ] && kill "$runner" 2>/dev/null
  WINEPREFIX="$ZV_WINEPREFIX" timeout 20 "$wineserver" -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
trap 'exit 1' INT TERM

for tool in Xvfb xdotool import convert compare; do
  command -v $tool >/dev/null || { echo "missing $tool"; exit 1; }
done

start_private_xvfb "$work" || exit 1

# The first start in a fresh prefix builds it, which takes a while.
timeout 120 "$wine_run" wineboot -i >/dev/null 2>&1

# The system's screensaver setting as this wine session holds it (set without saving,
# it lives under a volatile key); empty while nothing has changed it.
screensaver_active() {
  timeout 30 "$wine_run" reg query 'HKCU\Software\Wine\Temporary System Parameters\Control Panel\Desktop' \
    /v ScreenSaveActive </dev/null 2>/dev/null | tr -d '\r' | awk '/ScreenSaveActive/ { print $3 }'
}
# Unchanged, the setting is wine's default: on.
original_active=$(screensaver_active)
original_active=${original_active:-1}

# start <name> <arguments...>: runs the program in the background, the pointer at the
# centre of the screen (inside the saver's window wherever the window is put).
start() {
  name=$1
  shift
  xdotool mousemove 512 384
  start_run "$name" 40 env ZVGFX_VERBOSE=1 "$wine_run" "$program" "$@"
}

shoot() {
  import -window root "$work/$1.png" 2>/dev/null
  shots="$shots $work/$1.png"
}

# The saver's window takes the title of the program file. Its driver's report comes
# first: the full-screen tries before it make and destroy windows of the same name.
saver_window() {
  for _ in $(seq 1 160); do
    grep -q 'display driver' "$work/$name.log" 2>/dev/null && break
    [ -e "$work/$name.rc" ] && return
    sleep 0.25
  done
  wait_window --name '^morv$'
}

# report_screen <window>: a full-screen display would cover the screen from (0, 0);
# a window is centred. Either is right for the passes of the driver choice.
report_screen() {
  geometry "$1"
  [ "$WIDTH" = 640 ] && [ "$HEIGHT" = 400 ] || fail "$name: saver screen is ${WIDTH}x$HEIGHT, not 640x400"
  if [ "$X" = 0 ] && [ "$Y" = 0 ]; then
    echo "info: $name: the saver opened full screen (640x400 at 0,0)"
  else
    echo "info: $name: the saver opened in a 640x400 window at $X,$Y (the full-screen tries were refused)"
  fi
}

# check_picture <png> <window>: the tower is drawn in white (XOR onto black) and the
# credit line, in its own colour, starts at text column 8 (x = 56) of one of the 25
# rows of 16 pixels.
check_picture() {
  shot=$1
  geometry "$2"
  screen="640x400+$X+$Y"
  white=$(convert "$shot" -crop "$screen" +repage -fill black +opaque white -format '%[fx:mean*w*h]' info: 2>/dev/null)
  rows=$(convert "$shot" -crop "8x400+$((X + 56))+$Y" +repage -fill black -opaque white -colorspace gray \
    -scale '1x25!' -depth 8 txt:- 2>/dev/null | awk 'NR > 1 && $NF != "gray(0)" { n++ } END { print n + 0 }')
  if ! [ "${white%.*}" -ge 100 ] 2>/dev/null; then
    fail "no tower in $shot (white pixels: $white)"
  elif [ "$rows" -lt 1 ]; then
    fail "no text at column 8 in $shot"
  else
    echo "ok: $shot has the tower's pixels ($white white) and text at column 8"
  fi
}

# /s: where the screen opened, the picture, and a key that ends it.
start saver-key /s
window=$(saver_window)
if [ -n "$window" ]; then
  report_screen "$window"
  active=$(screensaver_active)
  [ "$active" = 0 ] || fail "the system screensaver is still on while the saver runs ($active)"
  sleep 1
  shoot saver
  check_picture "$work/saver.png" "$window"
  # The window thread must get the screen between the frames: the picture moves.
  sleep 0.5
  shoot saver-later
  moved=$(compare -metric AE "$work/saver.png" "$work/saver-later.png" null: 2>&1)
  [ "${moved%% *}" -gt 0 ] 2>/dev/null && echo "ok: the picture moves ($moved pixels changed in 0.5 s)" ||
    fail "the picture did not change in 0.5 s ($moved)"
  still_running
  xdotool key space
else
  fail "saver-key: no saver window"
fi
finish
# With ZVGFX unset the first driver that opens is DirectX: in a window, on the second
# pass, since Xvfb refuses wine's display mode changes.
if grep -q 'display driver DirectX, 640x400x32, window' "$work/saver-key.log"; then
  echo "ok: saver-key: $(grep 'display driver' "$work/saver-key.log")"
else
  fail "saver-key: the saver did not open DirectX in a window: $(cat "$work/saver-key.log")"
fi
active=$(screensaver_active)
if [ "$active" = "$original_active" ]; then
  echo "ok: the system screensaver setting is back to $active after the saver"
else
  fail "the system screensaver setting is $active after the saver, not $original_active"
fi

start saver-mouse /s
window=$(saver_window)
if [ -n "$window" ]; then
  sleep 1
  still_running
  xdotool mousemove_relative 40 30
else
  fail "saver-mouse: no saver window"
fi
finish

# The window's close button, as a window manager sends it: the X11 run's helper, built
# for this machine.
close_window="$work/close_window"
if c++ -o "$close_window" "$(dirname "$0")/x11/close_window.cpp" -lX11 2>"$work/close_window.log"; then
  start saver-close /s
  window=$(saver_window)
  if [ -n "$window" ]; then
    sleep 1
    still_running
    "$close_window" "$window" || fail "saver-close: could not send the close request"
  else
    fail "saver-close: no saver window"
  fi
  finish
else
  echo "SKIP: saver-close: no C++ compiler with Xlib here to build the close request helper"
fi

# Answered Yes, the test run shows the saver, which a key ends.
start ask-yes
window=$(wait_window --name '^ $')
if [ -n "$window" ]; then
  sleep 0.5
  shoot ask
  xdotool windowfocus "$window" 2>/dev/null
  xdotool key Return
  window=$(saver_window)
  if [ -n "$window" ]; then
    sleep 1
    shoot ask-yes-saver
    still_running
    xdotool key Escape
  else
    fail "ask-yes: no saver window after Yes"
  fi
else
  fail "ask-yes: no question box"
fi
finish

start options /c
window=$(wait_window --name '^MORV$')
if [ -n "$window" ]; then
  sleep 0.5
  shoot options
  xdotool windowfocus "$window" 2>/dev/null
  xdotool key Return
else
  fail "options: no message box"
fi
finish

start preview /p 1234
finish

# Wine's virtual desktop lets programs change its display mode: there the saver takes
# the DirectX driver's full-screen path, and the desktop comes back at its size after.
desktop_size() { xwininfo -name "zvgfx - Wine desktop" 2>/dev/null | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }'; }
start_run desktop 40 env ZVGFX_VERBOSE=1 "$wine_run" explorer /desktop=zvgfx,1024x768 "$program" /s
for _ in $(seq 1 120); do
  grep -q 'display driver' "$work/$name.log" 2>/dev/null && break
  [ -e "$work/$name.rc" ] && break
  sleep 0.25
done
if grep -q 'display driver DirectX, 640x400x32, full screen' "$work/$name.log"; then
  sleep 1.5
  size=$(desktop_size)
  echo "info: desktop: $(grep 'DirectX: full screen' "$work/$name.log"); the desktop is $size"
  shoot desktop-full-screen
  # The mode's own rows: the picture sits at row_offset of it, the desktop at the top left.
  mode_h=$(sed -n 's/.*display mode 640x\([0-9]*\)x.*/\1/p' "$work/$name.log")
  row=$(sed -n 's/.*picture 640x400 at row \([0-9]*\).*/\1/p' "$work/$name.log")
  [ "$size" = "640x$mode_h" ] || fail "desktop: the desktop is $size during a 640x$mode_h mode"
  X=0 Y=${row:-0}
  white=$(convert "$work/desktop-full-screen.png" -crop "640x400+0+$Y" +repage -fill black +opaque white \
    -format '%[fx:mean*w*h]' info: 2>/dev/null)
  [ "${white%.*}" -ge 100 ] 2>/dev/null && echo "ok: desktop: the towers are in the picture at row $Y" ||
    fail "desktop: no tower in the picture at row $Y"
  xdotool key space
  # The desktop closes with its last program: watch it come back to its size before.
  restored=
  for _ in $(seq 1 200); do
    [ "$(desktop_size)" = 1024x768 ] && restored=1 && break
    [ -e "$work/$name.rc" ] && break
    sleep 0.05
  done
  [ -n "$restored" ] && echo "ok: desktop: the display mode went back to 1024x768" ||
    fail "desktop: the desktop did not come back to 1024x768"
else
  fail "desktop: the saver did not open DirectX full screen: $(cat "$work/$name.log")"
fi
finish

for shot in $shots; do echo "screenshot: $shot"; done
[ "$failures" = 0 ] || exit 1
echo "all saver runs under wine ended with exit code 0"
