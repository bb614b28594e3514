# Sourced by scripts that need an X server of their own.
# start_private_xvfb <work dir>: starts Xvfb (1024 x 768, 24 bits) on a display number it
# picks itself, sets DISPLAY and xvfb_pid; returns 1 when it does not come up in 5 s.
# The caller ends it (kill "$xvfb_pid") in its exit trap.
start_private_xvfb() {
  rm -f "$1/display"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$1/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 50); do
    [ -s "$1/display" ] && break
    sleep 0.1
  done
  [ -s "$1/display" ] || { echo "Xvfb did not start"; return 1; }
  DISPLAY=":$(head -n 1 "$1/display")"
  export DISPLAY
}
