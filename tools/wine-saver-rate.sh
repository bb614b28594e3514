#!/bin/sh
# wine-saver-rate.sh <morv.scr> [seconds]
# Runs the Windows saver under wine64 on one private Xvfb, once through the DirectX
# driver and once through GDI (DirectDraw taken away, so the driver choice falls back),
# each in its 640 x 400 window for the same time, and prints how many pictures each
# showed per second and the CPU share of the saver, the wineserver and the X server.
set -u
program=$1
seconds=${2:-10}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d "${TMPDIR:-/tmp}/zv-rate.XXXXXX") || exit 1
. "$here/private-xvfb.sh"
. "$here/wine-procs.sh"
export ZV_WINEPREFIX="$work/wineprefix"
xvfb_pid=
trap 'WINEPREFIX="$ZV_WINEPREFIX" timeout 20 /usr/lib/wine/wineserver -k 2>/dev/null; [ -n "$xvfb_pid" ] && kill "$xvfb_pid"; rm -rf "$work"' EXIT
start_private_xvfb "$work" || exit 1
timeout 120 "$here/wine-run.sh" wineboot -i >/dev/null 2>&1
ticks=$(getconf CLK_TCK)

# cpu_ticks <pid>: user + system time of a process so far.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }

printf '%-8s %12s %10s %12s %10s\n' driver pictures/s "saver CPU" wineserver Xvfb
# Wine's DirectDraw draws through OpenGL, on Xvfb Mesa's software one: that is where
# the DirectX driver's time goes there.
for driver in DirectX GDI; do
  overrides=
  [ "$driver" = GDI ] && overrides="ddraw=d"
  log="$work/$driver.log"
  xdotool mousemove 512 384
  ZV_WINEDLLOVERRIDES=$overrides ZVGFX_VERBOSE=1 timeout $((seconds + 60)) "$here/wine-run.sh" "$program" /s \
    </dev/null >"$log" 2>&1 &
  runner=$!
  for _ in $(seq 1 240); do
    grep -q 'display driver' "$log" && break
    sleep 0.25
  done
  sleep 1
  saver=$(prefix_program_pid "$program")
  server=$(prefix_wineserver_pid)
  s0=$(cpu_ticks "$saver"); w0=$(cpu_ticks "$server"); x0=$(cpu_ticks "$xvfb_pid"); t0=$(date +%s.%N)
  sleep "$seconds"
  s1=$(cpu_ticks "$saver"); w1=$(cpu_ticks "$server"); x1=$(cpu_ticks "$xvfb_pid"); t1=$(date +%s.%N)
  xdotool key space
  wait "$runner"
  chosen=$(sed -n 's/.*display driver \([A-Za-z]*\),.*/\1/p' "$log")
  rate=$(sed -n 's/.*(\([0-9.]*\) per second).*/\1/p' "$log" | tail -n 1)
  awk -v d="$driver ($chosen)" -v r="${rate:-?}" -v s=$((s1 - s0)) -v w=$((w1 - w0)) -v x=$((x1 - x0)) \
    -v t0="$t0" -v t1="$t1" -v hz="$ticks" 'BEGIN {
      wall = t1 - t0
      printf "%-16s %4s %9.1f%% %11.1f%% %9.1f%%\n", d, r, 100 * s / hz / wall, 100 * w / hz / wall, 100 * x / hz / wall }'
done
