#!/bin/sh
# saver_x11.sh <morv> <close_window> <work dir>
# The Linux program on a private Xvfb, driven with xdotool: "morv /s" shows the tower
# and the credit line and ends with exit code 0 on a key, on a mouse move and on the
# window's close button; "morv /c" and "morv" (answered Ja) run too. The X server's
# screen saver is off while the saver's screen is open and as before afterwards.
# Screenshots are left in the work dir.
set -u
program=$1
close_window=$2
work=$3
mkdir -p "$work"
work=$(cd "$work" && pwd)
. "$(dirname "$0")/../../tools/private-xvfb.sh"
failures=0
xvfb_pid=
runner=

cleanup() {
  [ -n "$runner" ] && kill "$runner" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

for tool in Xvfb xdotool import convert xset; do
  command -v $tool >/dev/null || { echo "missing $tool"; exit 1; }
done

start_private_xvfb "$work" || exit 1

saver_timeout() { xset q | awk '/timeout:/ { print $2; exit }'; }
original_timeout=$(saver_timeout)

# start <name> <arguments...>: runs the program in the background.
start() {
  name=$1
  shift
  rm -f "$work/$name.rc"
  xdotool mousemove 512 384
  (timeout 30 "$program" "$@" </dev/null >"$work/$name.log" 2>&1; echo $? >"$work/$name.rc") &
  runner=$!
}

# wait_window <search arguments...>: the first visible window found, or empty.
wait_window() {
  for _ in $(seq 1 60); do
    found=$(xdotool search --onlyvisible "$@" 2>/dev/null | head -n 1)
    [ -n "$found" ] && { echo "$found"; return; }
    [ -e "$work/$name.rc" ] && return
    sleep 0.25
  done
}

# still_running: the input below must be what ends the program.
still_running() {
  [ -e "$work/$name.rc" ] && fail "$name: ended before the input"
}

# finish: waits for the program and checks its exit code.
finish() {
  wait "$runner"
  runner=
  rc=$(cat "$work/$name.rc" 2>/dev/null || echo missing)
  if [ "$rc" = 0 ]; then echo "ok: $name"; else fail "$name: exit code $rc"; fi
}

saver_window() { wait_window --class zvgfxclass_; }

# no_saver_window <case>: a build whose saver ends at once without a screen (the
# animation not in yet) is skipped; a saver that runs without a window fails.
no_saver_window() {
  if [ "$(cat "$work/$name.rc" 2>/dev/null)" = 0 ]; then
    echo "SKIP: $1: the saver ended at once without opening a screen (no animation in this build)"
  else
    fail "$1: no saver window"
  fi
}

# The 640 x 400 picture is centred on the 1024 x 768 screen; the credit line starts at
# text column 8 (x = 56) on one of the 25 rows of 16 pixels.
check_picture() {
  shot=$1
  lit=$(convert "$shot" -crop 640x400+192+184 +repage -format '%[fx:maxima>0]' info: 2>/dev/null)
  if [ "$lit" != 1 ]; then
    echo "SKIP: the saver's screen stayed black ($shot): the animation draws nothing yet"
    return
  fi
  rows=$(convert "$shot" -crop 8x400+248+184 +repage -colorspace gray -scale '1x25!' -depth 8 txt:- 2>/dev/null |
    awk 'NR > 1 && $NF != "gray(0)" { n++ } END { print n + 0 }')
  [ "$rows" -ge 1 ] || fail "no text at column 8 in $shot"
  echo "ok: picture has the tower's pixels and text at column 8 ($shot)"
}

# /s: the picture, the screen saver setting, and a key that ends it.
start saver-key /s
window=$(saver_window)
if [ -z "$window" ]; then
  no_saver_window saver-key
else
  [ "$(saver_timeout)" = 0 ] || fail "screen saver still on while the saver runs: $(saver_timeout)"
  sleep 1
  import -window root "$work/saver.png" 2>/dev/null
  check_picture "$work/saver.png"
  still_running
  xdotool key space
fi
finish
[ "$(saver_timeout)" = "$original_timeout" ] || fail "screen saver timeout not restored: $(saver_timeout)"

start saver-mouse /s
window=$(saver_window)
if [ -n "$window" ]; then
  sleep 0.5
  still_running
  xdotool mousemove_relative 40 30
else
  no_saver_window saver-mouse
fi
finish

start saver-close /s
window=$(saver_window)
if [ -n "$window" ]; then
  sleep 0.5
  still_running
  "$close_window" "$window" || fail "saver-close: could not send the close request"
else
  no_saver_window saver-close
fi
finish

start options /c
window=$(wait_window --name '^MORV$')
if [ -n "$window" ]; then
  sleep 0.3
  xdotool windowfocus "$window" 2>/dev/null
  xdotool key Return
else
  fail "options: no message box"
fi
finish

# Answered Ja, the test run shows the saver, which a key ends.
start ask-yes
window=$(wait_window --name '^ $')
if [ -n "$window" ]; then
  sleep 0.3
  xdotool windowfocus "$window" 2>/dev/null
  xdotool key j
  window=$(saver_window)
  if [ -n "$window" ]; then
    sleep 0.5
    still_running
    xdotool key Escape
  else
    no_saver_window ask-yes
  fi
else
  fail "ask-yes: no question box"
fi
finish
[ "$(saver_timeout)" = "$original_timeout" ] || fail "screen saver timeout not restored: $(saver_timeout)"

[ "$failures" = 0 ] || exit 1
echo "all saver runs ended with exit code 0"
