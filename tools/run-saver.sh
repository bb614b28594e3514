#!/bin/sh
# run-saver.sh <morv>: starts the screensaver the way the screensaver host does.
set -eu
program=${1:-build/native/morv}
if [ ! -x "$program" ]; then
  echo "run-saver.sh: $program is not built (make native)" >&2
  exit 1
fi
exec "$program" /s
