# Sourced by scripts that need a real Xorg server with display modes of its own (the
# dummy video driver: no hardware, but RandR modes that can be switched like a monitor's).
#
# start_private_xorg <work dir> <mode>...
#   Each mode is WIDTHxHEIGHT (a 60 Hz modeline is made for it) or a whole modeline
#   ("name" clock h1 h2 h3 h4 v1 v2 v3 v4 [flags], with ordinary, not reduced, blanking).
#   The first mode is the one the server starts in. Besides them the driver offers only a
#   few reduced-blanking modes of its own (16:9 sizes such as 1024x576); other sizes,
#   640x400 among them, are refused. The screen may grow to the largest width and height
#   among the modes (XORG_VIRTUAL=WxH asks for a larger one).
# start_private_xorg <work dir> <config file>
#   Uses that configuration as it is.
#
# The server runs without a VT, input devices or TCP, picks a free display number itself
# and logs to <work dir>/xorg.log. Sets DISPLAY and xorg_pid; returns 1 when it does not
# come up in 10 s (the log's errors are printed). The caller ends it with
# stop_private_xorg in its exit trap.

# xorg_modeline WIDTHxHEIGHT: a 60 Hz modeline of that size (the dummy driver only
# checks that the timings fit the monitor's ranges).
xorg_modeline() {
  _xorg_w=${1%x*}
  _xorg_h=${1#*x}
  _xorg_htotal=$((_xorg_w + 160))
  _xorg_vtotal=$((_xorg_h + 30))
  _xorg_khz=$((_xorg_htotal * _xorg_vtotal * 60 / 1000))
  printf '"%s" %d.%03d %d %d %d %d %d %d %d %d -hsync +vsync' "$1" $((_xorg_khz / 1000)) $((_xorg_khz % 1000)) \
    "$_xorg_w" $((_xorg_w + 16)) $((_xorg_w + 112)) "$_xorg_htotal" \
    "$_xorg_h" $((_xorg_h + 3)) $((_xorg_h + 9)) "$_xorg_vtotal"
}

# write_xorg_config <file> <mode>...
write_xorg_config() {
  _xorg_file=$1
  shift
  _xorg_names=
  _xorg_lines=
  _xorg_rates=
  _xorg_max_w=0
  _xorg_max_h=0
  for _xorg_mode in "$@"; do
    case $_xorg_mode in
      \"*) _xorg_line=$_xorg_mode ;;
      *x*) _xorg_line=$(xorg_modeline "$_xorg_mode") ;;
      *) echo "private-xorg: not a mode: $_xorg_mode" >&2; return 1 ;;
    esac
    set -- $_xorg_line
    _xorg_name=$1
    _xorg_w=$3
    _xorg_h=$7
    [ "$_xorg_w" -gt "$_xorg_max_w" ] && _xorg_max_w=$_xorg_w
    [ "$_xorg_h" -gt "$_xorg_max_h" ] && _xorg_max_h=$_xorg_h
    _xorg_names="$_xorg_names $_xorg_name"
    # The vertical refresh of this mode: clock / (htotal x vtotal).
    _xorg_hz=$(awk -v c="$2" -v ht="$6" -v vt="${10}" 'BEGIN { printf "%.2f", c * 1000000 / (ht * vt) }')
    _xorg_rates="$_xorg_rates $_xorg_hz"
    _xorg_lines="$_xorg_lines  Modeline $_xorg_line
"
  done
  _xorg_virtual="$_xorg_max_w $_xorg_max_h"
  # The driver adds its built-in modes to the ones named; a refresh range that holds only
  # the rates of ours keeps those out.
  _xorg_refresh=$(echo "$_xorg_rates" | awk '{ lo = $1; hi = $1; for (i = 2; i <= NF; i++) { if ($i < lo) lo = $i; if ($i > hi) hi = $i }
    printf "%.2f-%.2f", lo - 0.03, hi + 0.03 }')
  [ -n "${XORG_VIRTUAL:-}" ] && _xorg_virtual="${XORG_VIRTUAL%x*} ${XORG_VIRTUAL#*x}"
  cat >"$_xorg_file" <<EOF
Section "ServerFlags"
  Option "AutoAddDevices" "false"
  Option "AutoEnableDevices" "false"
  Option "DontVTSwitch" "true"
EndSection
Section "Device"
  Identifier "dummy"
  Driver "dummy"
  VideoRam 262144
EndSection
Section "Monitor"
  Identifier "monitor"
  HorizSync 5.0-1000.0
  VertRefresh $_xorg_refresh
$_xorg_lines EndSection
Section "Screen"
  Identifier "screen"
  Device "dummy"
  Monitor "monitor"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes $_xorg_names
    Virtual $_xorg_virtual
  EndSubSection
EndSection
EOF
}

start_private_xorg() {
  _xorg_work=$1
  shift
  command -v Xorg >/dev/null || { echo "Xorg is not installed (xserver-xorg-core)"; return 1; }
  [ -e /usr/lib/xorg/modules/drivers/dummy_drv.so ] ||
    { echo "the dummy video driver is not installed (xserver-xorg-video-dummy)"; return 1; }
  if [ $# = 1 ] && [ -f "$1" ]; then
    _xorg_config=$1
  else
    _xorg_config="$_xorg_work/xorg.conf"
    write_xorg_config "$_xorg_config" "$@" || return 1
  fi
  rm -f "$_xorg_work/display"
  mkdir -p "$_xorg_work/xorg.conf.d"
  # -config and -logfile with a path of our own are allowed only for root, which Xorg is here.
  Xorg -config "$_xorg_config" -configdir "$_xorg_work/xorg.conf.d" -noreset -nolisten tcp -novtswitch -displayfd 3 \
    -logfile "$_xorg_work/xorg.log" 3>"$_xorg_work/display" >/dev/null 2>&1 &
  xorg_pid=$!
  for _ in $(seq 1 100); do
    [ -s "$_xorg_work/display" ] && break
    kill -0 "$xorg_pid" 2>/dev/null || break
    sleep 0.1
  done
  if ! [ -s "$_xorg_work/display" ]; then
    echo "Xorg did not start:"
    grep '(EE)' "$_xorg_work/xorg.log" 2>/dev/null | grep -v dbus | head -n 5
    stop_private_xorg
    return 1
  fi
  DISPLAY=":$(head -n 1 "$_xorg_work/display")"
  export DISPLAY
}

stop_private_xorg() {
  [ -n "${xorg_pid:-}" ] || return 0
  kill "$xorg_pid" 2>/dev/null
  # Xorg restores nothing on a VT here, so it ends quickly; give it a moment, then insist.
  for _ in $(seq 1 50); do
    kill -0 "$xorg_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -9 "$xorg_pid" 2>/dev/null
  wait "$xorg_pid" 2>/dev/null
  xorg_pid=
}
