#!/bin/sh
# saver_x11.sh <morv> <close_window> <work dir>
# The Linux program on a private Xvfb, driven with xdotool: "morv /s" shows the tower
# and the credit line and ends with exit code 0 on a key, on a mouse move and on the
# window's close button; "morv /c" and "morv" (answered Ja) run too. The X server's
# screen saver is off while the saver's screen is open and as before afterwards.
# When the X server goes away under the saver or the question box (TERM or KILL), the
# program still ends with exit code 0 within 2 s and without a sanitizer report.
# Screenshots are left in the work dir.
set -u
program=$1
close_window=$2
work=$3
mkdir -p "$work"
work=$(cd "$work" && pwd)
. "$(dirname "$0")/../../tools/private-xvfb.sh"
. "$(dirname "$0")/../../tools/e2e-runs.sh"
failures=0
xvfb_pid=
runner=

main_xvfb_pid=

cleanup() {
  [ -n "$runner" ] && kill "$runner" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ -n "$main_xvfb_pid" ] && kill "$main_xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
trap 'exit 1' INT TERM

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
  xdotool mousemove 512 384
  start_run "$name" 30 "$program" "$@"
}
wait_tries=60

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

# lose_server <name> <signal> <--class|--name> <pattern> <arguments...>: the program on
# an X server of its own, which is ended under it once the window found is up.
lose_server() {
  lost_name=$1
  signal=$2
  search_by=$3
  pattern=$4
  shift 4
  mkdir -p "$work/$lost_name"
  start_private_xvfb "$work/$lost_name" || { fail "$lost_name: no X server"; return; }
  start "$lost_name" "$@"
  window=$(wait_window "$search_by" "$pattern")
  if [ -z "$window" ]; then
    fail "$lost_name: no window"
  else
    sleep 0.5
    still_running
    kill -"$signal" "$xvfb_pid"
    for _ in $(seq 1 20); do
      [ -e "$work/$name.rc" ] && break
      sleep 0.1
    done
    [ -e "$work/$name.rc" ] || { fail "$lost_name: still running 2 s after the server went"; kill "$runner"; }
  fi
  finish
  grep -q 'Sanitizer\|runtime error' "$work/$name.log" && fail "$lost_name: sanitizer report in $work/$name.log"
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=
}

main_xvfb_pid=$xvfb_pid
lose_server lost-term TERM --class zvgfxclass_ /s
lose_server lost-kill KILL --class zvgfxclass_ /s
lose_server lost-question KILL --name '^ $'
xvfb_pid=$main_xvfb_pid
main_xvfb_pid=

[ "$failures" = 0 ] || exit 1
echo "all saver runs ended with exit code 0"
