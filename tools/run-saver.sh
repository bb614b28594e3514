#!/bin/sh
# run-saver.sh <morv>
# Shows the screensaver. With a display (DISPLAY set) it runs there until a key or a
# mouse move ends it. Without one it runs on a private Xvfb for a few seconds, saves a
# screenshot under build/, ends the saver with a key press and prints the picture's path.
set -u
program=${1:-build/native/morv}
if [ ! -x "$program" ]; then
  echo "run-saver.sh: $program is not built (make native)" >&2
  exit 1
fi
seconds=${ZV_RUN_SECONDS:-4}

if [ -n "${DISPLAY:-}" ] && xset q >/dev/null 2>&1; then
  exec "$program" /s
fi

echo "No X display available: running the saver on a private Xvfb for $seconds seconds."
for tool in Xvfb xdotool import; do
  command -v $tool >/dev/null || { echo "missing $tool (make deps installs it)"; exit 1; }
done

out_dir=$(cd "$(dirname "$0")/.." && pwd)/build
mkdir -p "$out_dir"
work=$(mktemp -d)
. "$(dirname "$0")/private-xvfb.sh"
xvfb_pid=
saver_pid=
cleanup() {
  [ -n "$saver_pid" ] && kill "$saver_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

start_private_xvfb "$work" || exit 1

timeout $((seconds + 20)) "$program" /s </dev/null &
saver_pid=$!
sleep "$seconds"
shot="$out_dir/saver-screenshot.png"
import -window root "$shot"
xdotool key space
wait "$saver_pid"
rc=$?
saver_pid=
echo "The saver ended with exit code $rc."
echo "Screenshot: $shot"
[ "$rc" = 0 ]
