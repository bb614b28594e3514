# Sourced by the end-to-end scripts: the program under test run in the background, its
# window waited for, and how it ended checked. The caller sets work (its work dir) and
# failures=0; name and runner belong to the run in progress.

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# start_run <name> <seconds> <command...>: runs the command in the background, its output
# in $work/<name>.log and, once it has ended, its exit code in $work/<name>.rc.
start_run() {
  name=$1
  _limit=$2
  shift 2
  rm -f "$work/$name.rc"
  (timeout "$_limit" "$@" </dev/null >"$work/$name.log" 2>&1; echo $? >"$work/$name.rc") &
  runner=$!
}

# wait_window <xdotool search arguments...>: the first visible window found, looked for
# every 0.25 s; empty once the run has ended or ${wait_tries:-120} looks have failed.
wait_window() {
  for _ in $(seq 1 "${wait_tries:-120}"); do
    found=$(xdotool search --onlyvisible "$@" 2>/dev/null | head -n 1)
    [ -n "$found" ] && { echo "$found"; return; }
    [ -e "$work/$name.rc" ] && return
    sleep 0.25
  done
}

# still_running: the input that follows must be what ends the program.
still_running() {
  [ -e "$work/$name.rc" ] && fail "$name: ended before the input"
}

# finish [expected exit code, 0 unless given]: waits for the run and checks its exit code.
finish() {
  wait "$runner"
  runner=
  rc=$(cat "$work/$name.rc" 2>/dev/null || echo missing)
  if [ "$rc" = "${1:-0}" ]; then echo "ok: $name"; else fail "$name: exit code $rc, not ${1:-0}"; fi
}

# Sets X, Y, WIDTH, HEIGHT of a window's client area on the screen.
geometry() { eval "$(xdotool getwindowgeometry --shell "$1")"; }
