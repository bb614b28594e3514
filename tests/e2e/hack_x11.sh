#!/bin/sh
# hack_x11.sh <morv-hack> <locker_window> <close_window> <work dir>
# The hack for screen lockers on a private Xvfb, in a window made the way a locker makes
# one: the picture in it (id from $XSCREENSAVER_WINDOW in hex or decimal, or -window-id),
# reduced and enlarged as the window changes size, no grab taken, keys and the mouse
# ignored, exit code 0 on SIGTERM, SIGINT and SIGUSR1 and when the window is destroyed,
# no shared memory left even after SIGKILL; -root and -window; code 1 and a message for
# a bad id or no display. Screenshots are left in the work dir.
set -u
hack=$1
locker_window=$2
close_window=$3
work=$4
mkdir -p "$work"
work=$(cd "$work" && pwd)
. "$(dirname "$0")/../../tools/private-xvfb.sh"
failures=0
xvfb_pid=
holder=
hack_pid=

cleanup() {
  [ -n "$hack_pid" ] && kill -9 "$hack_pid" 2>/dev/null
  [ -n "$holder" ] && kill "$holder" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

for tool in Xvfb xdotool xwininfo import convert ipcs; do
  command -v $tool >/dev/null || { echo "missing $tool"; exit 1; }
done

# expect_refusal <name> <message part> <command...>: exit code 1 and the message.
expect_refusal() {
  name=$1
  message=$2
  shift 2
  "$@" >"$work/$name.log" 2>&1
  rc=$?
  if [ "$rc" != 1 ]; then
    fail "$name: exit code $rc, not 1"
  elif ! grep -q -- "$message" "$work/$name.log"; then
    fail "$name: no \"$message\" in: $(cat "$work/$name.log")"
  else
    echo "ok: $name: $(head -n 1 "$work/$name.log")"
  fi
}

expect_refusal no-display "cannot open display" env -u DISPLAY -u XSCREENSAVER_WINDOW "$hack" -root

start_private_xvfb "$work" || exit 1

expect_refusal bad-id "no window 0x7654321" "$hack" -window-id 0x7654321
expect_refusal bad-environment "bad \$XSCREENSAVER_WINDOW \"0xZZ\"" env XSCREENSAVER_WINDOW=0xZZ "$hack" -root
expect_refusal missing-environment-window "from \$XSCREENSAVER_WINDOW" env XSCREENSAVER_WINDOW=123456789 "$hack"
expect_refusal unknown-option "unknown option" "$hack" -fullscreen

# make_window <x> <y> <w> <h>: a white window like a locker's; its id in $window. The
# helper process holds it (and keeps the server from resetting) until it is killed.
make_window() {
  [ -n "$holder" ] && kill "$holder" 2>/dev/null && wait "$holder" 2>/dev/null
  rm -f "$work/window-id"
  "$locker_window" create "$@" >"$work/window-id" &
  holder=$!
  for _ in $(seq 1 50); do
    [ -s "$work/window-id" ] && break
    sleep 0.1
  done
  window=$(cat "$work/window-id")
}

# start <name> <env assignment or -> <arguments...>
start() {
  name=$1
  assignment=$2
  shift 2
  rm -f "$work/$name.rc"
  if [ "$assignment" = - ]; then
    "$hack" "$@" >"$work/$name.log" 2>&1 &
  else
    env "$assignment" "$hack" "$@" >"$work/$name.log" 2>&1 &
  fi
  hack_pid=$!
}

# view_of <window>: the geometry "WxH+X+Y" of the picture's window inside it (the
# hack's frame fills the window; the picture is the frame's only child).
view_of() {
  frame=$(xwininfo -children -id "$1" 2>/dev/null | awk '/^ +0x/ { print $1; exit }')
  [ -n "$frame" ] || return
  xwininfo -children -id "$frame" 2>/dev/null | awk '/^ +0x/ { print $(NF-1); exit }'
}

# wait_view <window> <geometry>: until the picture has that size and place (5 s).
wait_view() {
  for _ in $(seq 1 50); do
    [ "$(view_of "$1")" = "$2" ] && return 0
    sleep 0.1
  done
  return 1
}

# lit <png> <WxH+X+Y>: 1 when something in that part of the screenshot is not black.
lit() { convert "$1" -crop "$2" +repage -format '%[fx:maxima>0]' info: 2>/dev/null; }

# ended_in_time: whether the hack has ended within 3 s.
ended_in_time() {
  for _ in $(seq 1 30); do
    kill -0 "$hack_pid" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}

# shot <png> <WxH+X+Y>: a screenshot once that part shows something (10 s at most: a
# loaded machine may be slow to show the first frame).
shot() {
  for _ in $(seq 1 40); do
    import -window root "$1" 2>/dev/null
    [ "$(lit "$1" "$2")" = 1 ] && return
    sleep 0.25
  done
}

# stop_with <signal>: the hack ends within 3 s with exit code 0.
stop_with() {
  kill -"$1" "$hack_pid" 2>/dev/null
  if ! ended_in_time; then
    fail "$name: still running 3 s after SIG$1"
    kill -9 "$hack_pid"
  fi
  wait "$hack_pid"
  rc=$?
  pid=$hack_pid
  hack_pid=
  if [ "$rc" = 0 ]; then echo "ok: $name: SIG$1 ends it with exit code 0"; else fail "$name: SIG$1 gave exit code $rc"; fi
  no_segment_left "$pid"
}

# no_segment_left <pid>: no shared memory segment made by that process remains.
no_segment_left() {
  left=$(ipcs -m -p 2>/dev/null | awk -v pid="$1" '$3 == pid { print $1 }')
  [ -z "$left" ] || fail "$name: shared memory segments of pid $1 left: $left"
}

# The locker's 800 x 500 window, named in hex: the picture centred at scale 1.
make_window 100 100 800 500
start hex "XSCREENSAVER_WINDOW=$window" -root
wait_view "$window" 640x400+80+50 || fail "hex: picture not at 640x400+80+50 but $(view_of "$window")"
shot "$work/hack.png" 640x400+180+150
[ "$(lit "$work/hack.png" 640x400+180+150)" = 1 ] || fail "hex: the picture is black ($work/hack.png)"
[ "$(lit "$work/hack.png" 80x500+100+100)" = 0 ] || fail "hex: the window's edge beside the picture is not black"
# The locker owns input: no grab taken, and neither keys nor the mouse end the saver.
"$locker_window" grab >"$work/grab.log" 2>&1 || fail "hex: a grab is held while the hack runs: $(cat "$work/grab.log")"
xdotool mousemove 300 300 key space key Escape mousemove 600 400 click 1
sleep 0.5
kill -0 "$hack_pid" 2>/dev/null || fail "hex: a key or the mouse ended it"
# Smaller than the picture, as in a locker's preview: reduced to fit, proportions kept.
xdotool windowsize "$window" 320 240
wait_view "$window" 320x200+0+20 || fail "hex: in 320 x 240 the picture is $(view_of "$window"), not 320x200+0+20"
shot "$work/hack-small.png" 320x200+100+120
[ "$(lit "$work/hack-small.png" 320x200+100+120)" = 1 ] || fail "hex: the reduced picture is black"
# Larger: enlarged by a whole factor.
xdotool windowsize "$window" 1300 850
wait_view "$window" 1280x800+10+25 || fail "hex: in 1300 x 850 the picture is $(view_of "$window"), not 1280x800+10+25"
echo "ok: hex: centred at 640x400, reduced to 320x200 in 320 x 240, doubled in 1300 x 850; no grab; input ignored"
stop_with TERM

# Named in decimal; SIGINT.
make_window 0 0 640 400
start decimal "XSCREENSAVER_WINDOW=$(printf '%d' "$window")"
wait_view "$window" 640x400+0+0 || fail "decimal: picture not at 640x400+0+0 but $(view_of "$window")"
stop_with INT

# -window-id wins over the variable; xsecurelock's SIGUSR1 ends it too.
make_window 0 0 700 450
start window-id "XSCREENSAVER_WINDOW=0x7654321" -window-id "$window"
wait_view "$window" 640x400+30+25 || fail "window-id: picture not at 640x400+30+25 but $(view_of "$window")"
stop_with USR1

# The locker destroys its window: the hack says so and ends with exit code 0.
make_window 0 0 800 600
start destroyed - -window-id "$window"
wait_view "$window" 640x400+80+100 || fail "destroyed: no picture"
"$locker_window" destroy "$window"
if ! ended_in_time; then
  fail "destroyed: still running 3 s after its window was destroyed"
  stop_with KILL
else
  wait "$hack_pid"
  rc=$?
  no_segment_left "$hack_pid"
  hack_pid=
  grep -q "was destroyed" "$work/destroyed.log" || fail "destroyed: no message: $(cat "$work/destroyed.log")"
  [ "$rc" = 0 ] && echo "ok: destroyed: $(cat "$work/destroyed.log"), exit code 0" || fail "destroyed: exit code $rc"
fi

# Killed outright: the server drops the shared image with the connection.
make_window 0 0 640 400
start killed - -window-id "$window"
wait_view "$window" 640x400+0+0 || fail "killed: no picture"
pid=$hack_pid
kill -9 "$pid"
wait "$pid" 2>/dev/null
hack_pid=
sleep 0.3
no_segment_left "$pid"
"$locker_window" grab >/dev/null 2>&1 || fail "killed: a grab was left behind"
echo "ok: killed: no process, shared memory or grab left"
kill "$holder" 2>/dev/null
wait "$holder" 2>/dev/null
holder=

# -root: the root window of the 1024 x 768 screen.
start root - -root
root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
wait_view "$root" 640x400+192+184 || fail "root: picture not at 640x400+192+184 but $(view_of "$root")"
shot "$work/hack-root.png" 640x400+192+184
[ "$(lit "$work/hack-root.png" 640x400+192+184)" = 1 ] || fail "root: the picture is black"
stop_with TERM

# -window: a window of its own, which its close button ends.
start own - -window
own=
for _ in $(seq 1 60); do
  own=$(xdotool search --onlyvisible --class zvgfxclass_ 2>/dev/null | head -n 1)
  [ -n "$own" ] && break
  sleep 0.1
done
if [ -z "$own" ]; then
  fail "own: no window of its own"
  stop_with TERM
else
  sleep 0.5
  "$close_window" "$own"
  if ! ended_in_time; then
    fail "own: the close button did not end it"
    stop_with TERM
  else
    wait "$hack_pid"
    rc=$?
    hack_pid=
    [ "$rc" = 0 ] && echo "ok: own: a window of its own, ended by its close button" || fail "own: exit code $rc"
  fi
fi

[ "$failures" = 0 ] || exit 1
echo "all hack runs passed"
