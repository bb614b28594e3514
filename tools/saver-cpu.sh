#!/bin/bash
# saver-cpu.sh <morv> [<morv>...]
# How much processor time "morv /s" and the X server take while the saver runs on a
# private Xvfb of each size: the CPU time both processes spent (user + system, from
# /proc/<pid>/stat) over ZV_CPU_SECONDS (20) of wall time, as a share of one core.
# Several programs (say a build before and after a change) are measured in turns, size
# by size, ZV_CPU_REPEATS (1) times, so they see the same machine. Sizes: ZV_CPU_SIZES
# ("1024x768 1920x1080 3840x2160"). Prints one line per run and a summary of medians.
set -u
[ $# -ge 1 ] || { echo "usage: $0 <morv> [<morv>...]" >&2; exit 2; }
for program in "$@"; do
  [ -x "$program" ] || { echo "saver-cpu.sh: $program is not built" >&2; exit 1; }
done
for tool in Xvfb xdotool; do
  command -v $tool >/dev/null || { echo "missing $tool (make deps installs it)"; exit 1; }
done
seconds=${ZV_CPU_SECONDS:-20}
sizes=${ZV_CPU_SIZES:-"1024x768 1920x1080 3840x2160"}
repeats=${ZV_CPU_REPEATS:-1}
settle=3
ticks=$(getconf CLK_TCK)

work=$(mktemp -d "${TMPDIR:-/tmp}/zv-cpu.XXXXXX") || exit 1
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

# CPU ticks (user + system) a process has used so far, all its threads included.
cpu_ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat" 2>/dev/null || echo 0; }
now() { date +%s.%N; }

# measure <program> <size>: prints "<saver %> <server %>", or "- -" when the run failed.
measure() {
  ZV_XVFB_SIZE=$2 start_private_xvfb "$work" >/dev/null || { echo "- -"; return; }
  "$1" /s </dev/null >/dev/null 2>&1 &
  saver_pid=$!
  sleep "$settle"
  if ! kill -0 "$saver_pid" 2>/dev/null; then
    saver_pid=
    kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=
    echo "- -"
    return
  fi
  local s0 x0 t0 s1 x1 t1
  s0=$(cpu_ticks "$saver_pid"); x0=$(cpu_ticks "$xvfb_pid"); t0=$(now)
  sleep "$seconds"
  s1=$(cpu_ticks "$saver_pid"); x1=$(cpu_ticks "$xvfb_pid"); t1=$(now)
  xdotool key space 2>/dev/null
  for _ in $(seq 1 30); do kill -0 "$saver_pid" 2>/dev/null || break; sleep 0.1; done
  kill "$saver_pid" 2>/dev/null; wait "$saver_pid" 2>/dev/null; saver_pid=
  kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; xvfb_pid=
  awk -v s=$((s1 - s0)) -v x=$((x1 - x0)) -v t0="$t0" -v t1="$t1" -v hz="$ticks" \
    'BEGIN { w = t1 - t0; printf "%.2f %.2f\n", 100 * s / hz / w, 100 * x / hz / w }'
}

echo "CPU share of one core over ${seconds} s (load at start: $(cut -d' ' -f1-3 /proc/loadavg))"
printf '%-10s %-36s %8s %8s\n' size program saver "X server"
results="$work/results"
: >"$results"
for size in $sizes; do
  for round in $(seq 1 "$repeats"); do
    for program in "$@"; do
      read -r saver server < <(measure "$program" "$size")
      printf '%-10s %-36s %7s%% %7s%%\n' "$size" "$program" "$saver" "$server"
      echo "$size $program $saver $server" >>"$results"
    done
  done
done
if [ "$repeats" -gt 1 ]; then
  echo "Medians (and ranges) of $repeats runs:"
  for size in $sizes; do
    for program in "$@"; do
      awk -v size="$size" -v program="$program" '
        BEGIN { n = 0 }
        $1 == size && $2 == program && $3 != "-" { s[n] = $3; x[n] = $4; n++ }
        function median(a, n,   i, j, t) {
          for (i = 0; i < n; i++) for (j = i + 1; j < n; j++) if (a[j] < a[i]) { t = a[i]; a[i] = a[j]; a[j] = t }
          return n % 2 ? a[int(n / 2)] : (a[n / 2 - 1] + a[n / 2]) / 2
        }
        END {
          if (!n) exit
          ms = median(s, n); lo_s = s[0]; hi_s = s[n - 1]
          mx = median(x, n); lo_x = x[0]; hi_x = x[n - 1]
          printf "%-10s %-36s %6.2f%% (%.2f-%.2f) %6.2f%% (%.2f-%.2f)\n", size, program, ms, lo_s, hi_s, mx, lo_x, hi_x
        }' "$results"
    done
  done
fi
