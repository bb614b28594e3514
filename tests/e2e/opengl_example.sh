#!/bin/sh
# opengl_example.sh <example_opengl_triangle> <wine-run.sh, or - to run it directly> <work dir> [close_window]
# The OpenGL example on a private Xvfb, drawn by Mesa's software renderer: a 640 x 480
# window shows the triangle's red, green and blue corners, turning; Alt+Enter switches
# to full screen and back (or stays in the window where the display mode is refused)
# and the same context draws on; a key ends it with exit code 0, and so does the
# window's close button. On a server without GLX the example says that no OpenGL screen
# could be opened and ends with exit code 1. Screenshots and the log with the example's
# frame rate are left in the work dir.
set -u
program=$1
wine_run=$2
work=$3
close_window=${4:-}
mkdir -p "$work"
work=$(cd "$work" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
. "$here/../../tools/private-xvfb.sh"
. "$here/../../tools/e2e-runs.sh"
export ZV_WINEPREFIX="$work/wineprefix"
wineserver=/usr/lib/wine/wineserver
failures=0
xvfb_pid=
runner=

stop_servers() {
  [ -n "$runner" ] && kill "$runner" 2>/dev/null
  [ "$wine_run" != - ] && WINEPREFIX="$ZV_WINEPREFIX" timeout 20 "$wineserver" -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  runner=
  xvfb_pid=
}
trap stop_servers EXIT
trap 'exit 1' INT TERM

for tool in Xvfb xdotool import convert compare; do
  command -v $tool >/dev/null || { echo "missing $tool"; exit 1; }
done

# start_server [Xvfb options...]: a fresh private server (and wine prefix session).
start_server() {
  start_private_xvfb "$work" "$@" || exit 1
  if [ "$wine_run" = - ]; then
    # Mesa's driver loses two small blocks of a multisampled context, in a module it has
    # unloaded by exit, so no suppression can name them: a sanitized build looks for
    # leaks in its unit tests, not here. Its threads are left out of race checks.
    launcher=env
    ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
    TSAN_OPTIONS="${TSAN_OPTIONS:+$TSAN_OPTIONS:}suppressions=$here/mesa-tsan.supp"
    export ASAN_OPTIONS TSAN_OPTIONS
  else
    timeout 120 "$wine_run" wineboot -i >/dev/null 2>&1
    launcher=$wine_run
  fi
}

start() { start_run "$1" 60 "$launcher" "$program"; }

# The window takes the program file's name as its title.
example_window() { wait_window --name '^example_opengl_triangle$'; }

shoot() { import -window root "$work/$1.png" 2>/dev/null; }

# shoot_first_frame <name>: a shot once the window shows anything but black (the first
# frame of a software renderer on a busy machine can take a while), at most 15 s.
shoot_first_frame() {
  for _ in $(seq 1 30); do
    shoot "$1"
    lit=$(convert "$work/$1.png" -format '%[fx:maxima>0.5]' info: 2>/dev/null)
    [ "$lit" = 1 ] && return
    sleep 0.5
  done
}

# check_colours <shot>: the triangle's three corners, each in its pure colour, on black.
check_colours() {
  for corner in 'red:r>0.8&&g<0.25&&b<0.25' 'green:g>0.8&&r<0.25&&b<0.25' 'blue:b>0.8&&r<0.25&&g<0.25'; do
    count=$(convert "$1" -sample 50% -fx "${corner#*:}" -format '%[fx:round(mean*w*h)]' info: 2>/dev/null)
    if [ "${count:-0}" -ge 20 ] 2>/dev/null; then
      echo "ok: $(basename "$1") has the ${corner%%:*} corner ($count pixels at half size)"
    else
      fail "no ${corner%%:*} corner in $1 (${count:-none} pixels)"
    fi
  done
}

start_server

start triangle
window=$(example_window)
if [ -n "$window" ]; then
  geometry "$window"
  [ "$WIDTH" = 640 ] && [ "$HEIGHT" = 480 ] || fail "the window's client area is ${WIDTH}x$HEIGHT, not 640x480"
  echo "info: the window is at $X,$Y"
  shoot_first_frame triangle
  check_colours "$work/triangle.png"
  sleep 0.5
  shoot triangle-later
  moved=$(compare -metric AE "$work/triangle.png" "$work/triangle-later.png" null: 2>&1)
  [ "${moved%% *}" -gt 0 ] 2>/dev/null && echo "ok: the triangle turns ($moved pixels changed in 0.5 s)" ||
    fail "the picture did not change in 0.5 s ($moved)"
  xdotool key alt+Return
  sleep 1.5
  geometry "$window"
  echo "info: after Alt+Enter the window is ${WIDTH}x$HEIGHT at $X,$Y"
  shoot switched
  check_colours "$work/switched.png"
  xdotool key alt+Return
  sleep 1.5
  geometry "$window"
  [ "$WIDTH" = 640 ] && [ "$HEIGHT" = 480 ] || fail "after switching back the window is ${WIDTH}x$HEIGHT"
  shoot switched-back
  check_colours "$work/switched-back.png"
  still_running
  xdotool key space
else
  fail "triangle: no window"
fi
finish 0
grep -E 'OpenGL:|frames per second' "$work/triangle.log" | sed 's/^/info: /'
grep -q 'frames per second' "$work/triangle.log" || fail "triangle: no frame rate in the log"

# The close button, as a window manager sends it.
if [ -z "$close_window" ] && command -v c++ >/dev/null; then
  close_window="$work/close_window"
  c++ -o "$close_window" "$here/x11/close_window.cpp" -lX11 2>"$work/close_window.log" || close_window=
fi
if [ -n "$close_window" ]; then
  start close
  window=$(example_window)
  if [ -n "$window" ]; then
    sleep 1
    still_running
    "$close_window" "$window" || fail "close: could not send the close request"
  else
    fail "close: no window"
  fi
  finish 0
else
  echo "SKIP: close: no C++ compiler with Xlib here to build the close request helper"
fi

# No GLX on the server: no OpenGL anywhere, the mode set's error instead of a screen.
stop_servers
start_server -extension GLX
start no-glx
finish 1
grep -q 'No OpenGL screen could be opened' "$work/no-glx.log" || fail "no-glx: no message in $work/no-glx.log"

for shot in triangle triangle-later switched switched-back; do echo "screenshot: $work/$shot.png"; done
[ "$failures" = 0 ] || exit 1
echo "all runs of the OpenGL example ended as they should"
