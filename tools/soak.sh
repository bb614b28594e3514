#!/usr/bin/env bash
# soak.sh <program> <seconds> <work dir> [wine]: runs "<program> /s" (under wine64 with
# "wine") on a private Xvfb for the given time and samples, every 30 s, its resident
# memory, open descriptors (under wine also those of the prefix's wineserver, which holds
# the program's handles), threads and CPU share into <work dir>/soak.txt. A key press then
# ends it; the run fails unless it ends with exit code 0 and memory and descriptors are
# flat over the second half of the run.
set -u
program=$1
seconds=$2
work=$3
under=${4:-native}
interval=${ZV_SOAK_INTERVAL:-30}
mkdir -p "$work"
work=$(cd "$work" && pwd)
tools=$(cd "$(dirname "$0")" && pwd)
. "$tools/private-xvfb.sh"
xvfb_pid=
runner=
wineserver=/usr/lib/wine/wineserver
export ZV_WINEPREFIX="$work/wineprefix"

cleanup() {
  [ -n "$runner" ] && kill "$runner" 2>/dev/null
  [ "$under" = wine ] && WINEPREFIX="$ZV_WINEPREFIX" timeout 20 "$wineserver" -k >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
trap 'exit 1' INT TERM

start_private_xvfb "$work" || exit 1
if [ "$under" = wine ]; then
  timeout 300 "$tools/wine-run.sh" wineboot -i >/dev/null 2>&1
  "$tools/wine-run.sh" "$program" /s </dev/null >"$work/soak.log" 2>&1 &
else
  "$program" /s </dev/null >"$work/soak.log" 2>&1 &
fi
runner=$!

# The process that runs the saver: under wine the one named after the program, and the
# prefix's wineserver, both told apart from other prefixes' by their environment.
. "$(dirname "$0")/wine-procs.sh"
saver_pid() {
  if [ "$under" = wine ]; then
    prefix_program_pid "$program"
  else
    echo "$runner"
  fi
}
server_fds() {
  [ "$under" = wine ] || { echo -; return; }
  _server=$(prefix_wineserver_pid)
  [ -n "$_server" ] && { ls "/proc/$_server/fd" | wc -l; return; }
  echo -
}
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }

sleep 15
pid=$(saver_pid)
[ -n "$pid" ] && [ -d "/proc/$pid" ] || { echo "the saver did not start"; cat "$work/soak.log"; exit 1; }
hz=$(getconf CLK_TCK)
table="$work/soak.txt"
{
  echo "saver soak ($under), $seconds s, sample every $interval s"
  printf '%8s %10s %6s %10s %8s %7s\n' "time s" "RSS KiB" "fds" "server fds" "threads" "CPU %"
} >"$table"
start=$(date +%s)
last_ticks=$(cpu_ticks "$pid")
last_time=$start
while :; do
  sleep "$interval"
  if [ ! -d "/proc/$pid" ]; then
    # Under wine the first process found may have been a loader that handed over.
    pid=$(saver_pid)
    [ -n "$pid" ] && [ -d "/proc/$pid" ] || { echo "the saver ended during the soak" | tee -a "$table"; exit 1; }
    last_ticks=$(cpu_ticks "$pid")
  fi
  now=$(date +%s)
  ticks=$(cpu_ticks "$pid")
  cpu=$(awk -v t=$((ticks - last_ticks)) -v s=$((now - last_time)) -v hz="$hz" 'BEGIN { printf "%.1f", 100 * t / hz / s }')
  rss=$(awk '/VmRSS/ { print $2 }' "/proc/$pid/status")
  threads=$(awk '/Threads/ { print $2 }' "/proc/$pid/status")
  fds=$(ls "/proc/$pid/fd" | wc -l)
  printf '%8d %10d %6d %10s %8d %7s\n' $((now - start)) "$rss" "$fds" "$(server_fds)" "$threads" "$cpu" | tee -a "$table"
  last_ticks=$ticks
  last_time=$now
  [ $((now - start)) -ge "$seconds" ] && break
done

# Flat: over the second half, RSS grows by at most 1 MiB and descriptors not at all.
verdict=$(awk 'NR > 2 && $1 ~ /^[0-9]+$/ { t[n] = $1; r[n] = $2; f[n] = $3; n++ }
  END { h = int(n / 2); dr = r[n - 1] - r[h]; df = f[n - 1] - f[h];
        print (dr <= 1024 && df <= 0) ? "flat" : "growing", dr, df }' "$table")
echo "second half: $verdict (RSS KiB, descriptors)" | tee -a "$table"

xdotool mousemove 512 384 key space
for _ in $(seq 1 100); do
  kill -0 "$runner" 2>/dev/null || break
  sleep 0.1
done
wait "$runner"
rc=$?
runner=
echo "exit code $rc" | tee -a "$table"
[ "$rc" = 0 ] && [ "${verdict%% *}" = flat ]
