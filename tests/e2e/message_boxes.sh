#!/bin/sh
# message_boxes.sh <program> <wine-run.sh, or - to run the program directly> <work dir>
# Runs the screensaver on a private Xvfb and answers its boxes with xdotool: no
# argument shows the Yes/No box ("n" answers it), /c the no-options box (Return
# answers it), /p 1234 shows nothing. Our own Linux dialog is also answered with
# Escape and with a click on its second button. Every run must end with exit
# code 0. Screenshots of the boxes are left in the work dir.
set -u
program=$1
wine_run=$2
work=$3
mkdir -p "$work"
work=$(cd "$work" && pwd)
. "$(dirname "$0")/../../tools/private-xvfb.sh"
# A prefix of its own: ending its wineserver cannot disturb other tests.
export ZV_WINEPREFIX="$work/wineprefix"
wineserver=/usr/lib/wine/wineserver
failures=0
xvfb_pid=

cleanup() {
  WINEPREFIX="$ZV_WINEPREFIX" timeout 20 "$wineserver" -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

for tool in Xvfb xdotool import; do
  command -v $tool >/dev/null || { echo "missing $tool"; exit 1; }
done

start_private_xvfb "$work" || exit 1

if [ "$wine_run" = - ]; then
  launcher=env
else
  timeout 100 "$wine_run" wineboot -i >/dev/null 2>&1
  launcher=$wine_run
fi

# A key name, or click-second: a click in the right half of the button row.
answer() {
  if [ "$1" = click-second ]; then
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove --window "$window" $((WIDTH * 3 / 4)) $((HEIGHT - 30)) click 1
  else
    xdotool windowfocus "$window" 2>/dev/null
    xdotool key "$1"
  fi
}

# run_case <name> <window title regex or empty> <key> <arguments...>
run_case() {
  name=$1 title=$2 key=$3
  shift 3
  rm -f "$work/$name.rc"
  (timeout 45 "$launcher" "$program" "$@" </dev/null >"$work/$name.log" 2>&1; echo $? >"$work/$name.rc") &
  runner=$!
  if [ -n "$title" ]; then
    window=
    for _ in $(seq 1 80); do
      window=$(xdotool search --onlyvisible --name "$title" 2>/dev/null | head -n 1)
      [ -n "$window" ] && break
      [ -e "$work/$name.rc" ] && break
      sleep 0.5
    done
    if [ -z "$window" ]; then
      fail "$name: no window titled '$title'"
    else
      sleep 0.5
      import -window root "$work/$name.png" 2>/dev/null
      answer "$key"
    fi
  fi
  wait "$runner"
  rc=$(cat "$work/$name.rc" 2>/dev/null || echo missing)
  [ "$rc" = 0 ] || fail "$name: exit code $rc"
  [ "$rc" = 0 ] && echo "ok: $name"
}

run_case ask-no '^ $' n
run_case no-options '^MORV$' Return /c
run_case preview '' '' /p 1234
if [ "$wine_run" = - ]; then
  run_case ask-escape '^ $' Escape
  run_case ask-click '^ $' click-second
fi

[ "$failures" = 0 ] || exit 1
echo "all message box runs ended with exit code 0"
