# Sourced by scripts that need an X server of their own.
# start_private_xvfb <work dir> [Xvfb options...]: starts Xvfb (24 bits, 1024 x 768 or
# ZV_XVFB_SIZE, e.g. 3840x2160) on a display number it picks itself, sets DISPLAY and
# xvfb_pid; returns 1 when it does not come up in 5 s. The caller ends it (kill
# "$xvfb_pid") in its exit trap.
start_private_xvfb() {
  _xvfb_dir=$1
  shift
  rm -f "$_xvfb_dir/display"
  Xvfb -displayfd 3 -screen 0 "${ZV_XVFB_SIZE:-1024x768}x24" -nolisten tcp -noreset "$@" 3>"$_xvfb_dir/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 50); do
    [ -s "$_xvfb_dir/display" ] && break
    sleep 0.1
  done
  [ -s "$_xvfb_dir/display" ] || { echo "Xvfb did not start"; return 1; }
  DISPLAY=":$(head -n 1 "$_xvfb_dir/display")"
  export DISPLAY
}
