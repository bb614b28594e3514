#!/bin/sh
# run-on-private-xvfb.sh <command> [arguments...]
# Runs the command with DISPLAY on an Xvfb of its own (for tests whose program needs
# real windows, such as Windows programs under wine), and returns its exit code.
work=$(mktemp -d "${TMPDIR:-/tmp}/zv-xvfb.XXXXXX") || exit 1
. "$(dirname "$0")/private-xvfb.sh"
xvfb_pid=
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM
start_private_xvfb "$work" || exit 1
"$@"
status=$?
# A wine session outlives its program for a few seconds, still bound to this display;
# the next test, on a display of its own, must not meet it. End it while the display lives.
if [ -x /usr/lib/wine/wineserver ]; then
  WINEPREFIX=${ZV_WINEPREFIX:-${WINEPREFIX:-$(pwd)/wineprefix}}
  [ -d "$WINEPREFIX" ] && WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -k 2>/dev/null
  [ -d "$WINEPREFIX" ] && WINEPREFIX=$WINEPREFIX /usr/lib/wine/wineserver -w 2>/dev/null
fi
exit $status
