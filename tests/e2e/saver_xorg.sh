#!/bin/sh
# saver_xorg.sh <morv> <work dir>
# The Linux saver's DirectX driver on a real Xorg server (the dummy video driver, with
# the modes 1024x768, 800x600 and 640x480 and nothing of 640x400): "ZVGFX=DirectX morv
# /s" switches the output to 640x480, shows the 640 x 400 picture from row 40, ends on
# a key, and the output is back at 1024x768 afterwards; so it is when the saver is ended
# by SIGTERM, SIGINT or SIGHUP, or crashes (SIGSEGV). Screenshots are left in the work dir.
set -u
program=$1
work=$2
mkdir -p "$work"
work=$(cd "$work" && pwd)
. "$(dirname "$0")/../../tools/private-xorg.sh"
failures=0
xorg_pid=
saver=
shots=

cleanup() {
  [ -n "$saver" ] && kill -9 "$saver" 2>/dev/null
  stop_private_xorg
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

for tool in xrandr xdotool import convert; do
  command -v $tool >/dev/null || { echo "missing $tool"; exit 1; }
done
if ! command -v Xorg >/dev/null || ! [ -e /usr/lib/xorg/modules/drivers/dummy_drv.so ]; then
  echo "SKIP: no Xorg with the dummy video driver (xserver-xorg-core, xserver-xorg-video-dummy)"
  exit 77
fi

start_private_xorg "$work" 1024x768 800x600 640x480 || exit 1

current_mode() { xrandr 2>/dev/null | sed -n 's/.*current \([0-9]*\) x \([0-9]*\),.*/\1x\2/p'; }

# wait_mode <WxH>: true once the screen has that size (10 s at most).
wait_mode() {
  for _ in $(seq 1 100); do
    [ "$(current_mode)" = "$1" ] && return 0
    sleep 0.1
  done
  return 1
}

desktop=$(current_mode)
[ "$desktop" = 1024x768 ] || fail "the server started at $desktop, not 1024x768"

# start <name>: the saver in the background, its process id in $saver.
start() {
  name=$1
  # A background job starts with SIGINT ignored; the saver gets it as a terminal would give it.
  ZVGFX=DirectX ZVGFX_VERBOSE=1 env --default-signal=INT "$program" /s </dev/null >"$work/$name.log" 2>&1 &
  saver=$!
}

# finish <name> <expected exit code>: waits for the saver; the desktop mode must be back.
finish() {
  for _ in $(seq 1 100); do
    kill -0 "$saver" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$saver" 2>/dev/null && { fail "$1: the saver did not end"; kill -9 "$saver"; }
  wait "$saver"
  rc=$?
  saver=
  # A sanitizer's build reports a crash itself and ends with its own code.
  if [ "$2" = crash ]; then
    [ "$rc" != 0 ] || fail "$1: exit code 0 after a crash"
  else
    [ "$rc" = "$2" ] || fail "$1: exit code $rc, not $2"
  fi
  if wait_mode "$desktop"; then
    echo "ok: $1: exit code $rc, the output is back at $desktop"
  else
    fail "$1: the output stayed at $(current_mode) after the saver"
  fi
}

# Black above row 40 and from row 440 on; the credit line (the picture's only
# non-white colour) sits in the text rows of 16 pixels counted from row 40.
check_picture() {
  shot=$1
  top=$(convert "$shot" -crop 640x40+0+0 +repage -colorspace gray -format '%[max]' info: 2>/dev/null)
  bottom=$(convert "$shot" -crop 640x40+0+440 +repage -colorspace gray -format '%[max]' info: 2>/dev/null)
  middle=$(convert "$shot" -crop 640x400+0+40 +repage -colorspace gray -format '%[max]' info: 2>/dev/null)
  [ "${top%.*}" = 0 ] && [ "${bottom%.*}" = 0 ] || fail "$shot: the bands above row 40 or below row 439 are not black"
  [ "${middle%.*}" -gt 0 ] 2>/dev/null || fail "$shot: nothing drawn in rows 40 to 439"
  # The first row of the credit line's first letter ("B", at column 8: x = 56).
  first=$(convert "$shot" -crop 8x480+56+0 +repage -fill black -opaque white -colorspace gray -depth 8 txt:- \
    2>/dev/null | awk -F'[,: ]+' 'NR > 1 && $NF != "gray(0)" { print $2; exit }')
  if [ -z "$first" ]; then
    fail "$shot: no credit line at column 8"
  elif [ $(((first - 40) % 16)) -le 4 ] && [ "$first" -ge 40 ]; then
    echo "ok: $shot: picture in rows 40 to 439, the credit line's letters start at row $first (text row $(((first - 40) / 16 + 1)))"
  else
    fail "$shot: the credit line starts at row $first, not in a text row counted from row 40"
  fi
}

start key
if wait_mode 640x480; then
  echo "ok: the output switched from $desktop to 640x480"
  sleep 1
  for i in 1 2; do
    import -window root "$work/saver-$i.png" 2>/dev/null
    shots="$shots $work/saver-$i.png"
    check_picture "$work/saver-$i.png"
    sleep 0.4
  done
  grep -q 'picture 640x400 at row 40' "$work/key.log" || fail "the driver did not report the picture at row 40"
  xdotool key space
else
  fail "the output did not switch to 640x480 (it is $(current_mode))"
fi
finish key 0
cat "$work/key.log"

for signal in TERM INT HUP SEGV; do
  start "$signal"
  if wait_mode 640x480; then
    sleep 0.5
    kill -s "$signal" "$saver"
  else
    fail "$signal: the output did not switch to 640x480"
  fi
  case $signal in TERM) code=143 ;; INT) code=130 ;; HUP) code=129 ;; SEGV) code=crash ;; esac
  finish "SIG$signal" "$code"
done

for shot in $shots; do echo "screenshot: $shot"; done
[ "$failures" = 0 ] || exit 1
echo "the DirectX driver switched the Xorg output and brought it back on every way out"
