#!/bin/sh
# hack_lockers.sh <morv-hack> <work dir>
# The hack under the real screen lockers on a private Xvfb, run as an ordinary user
# made for the purpose (XScreenSaver refuses to run hacks as root):
#  - XScreenSaver configured to run only this hack: "xscreensaver-command -activate"
#    shows the tower and the credit line; the hack's CPU share is measured;
#    "-deactivate" ends it and leaves no process;
#  - xsecurelock with XSECURELOCK_SAVER naming the hack: the picture shows; ending the
#    locker ends the hack.
# Screenshots are left in the work dir (xscreensaver.png, xsecurelock.png).
set -u
hack=$1
work=$2
mkdir -p "$work"
work=$(cd "$work" && pwd)
. "$(dirname "$0")/../../tools/private-xvfb.sh"
user=morvsaver
failures=0
xvfb_pid=
saver_pid=
locker_pid=
temporary_home=

cleanup() {
  if [ -n "$saver_pid" ]; then as_user xscreensaver-command -exit >/dev/null 2>&1; kill "$saver_pid" 2>/dev/null; fi
  [ -n "$locker_pid" ] && kill "$locker_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  [ -n "$temporary_home" ] && rm -rf "$temporary_home"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

for tool in Xvfb xscreensaver xscreensaver-command xsecurelock setpriv import convert; do
  command -v $tool >/dev/null || { echo "missing $tool"; exit 1; }
done
if [ "$(id -u)" != 0 ]; then
  echo "SKIP: making the test user needs root"
  exit 0
fi
id "$user" >/dev/null 2>&1 || useradd --system --no-create-home --shell /usr/sbin/nologin "$user" ||
  { echo "cannot make the user $user"; exit 1; }

# The user runs the hack from a copy it can reach, with a home of its own: in the work
# dir, or where the folders above it are closed to others, in a temporary folder.
home="$work/home"
rm -rf "$home"
mkdir -p "$home"
chmod 755 "$work"
chown "$user:" "$home"
if ! setpriv --reuid="$user" --regid="$user" --init-groups test -w "$home"; then
  rm -rf "$home"
  home=$(mktemp -d /tmp/morv-hack-home.XXXXXX) || exit 1
  temporary_home=$home
  chmod 755 "$home"
fi
cp "$hack" "$home/morv-hack"
chown -R "$user:" "$home"

start_private_xvfb "$work" || exit 1

# as_user <command...>: runs it as the test user, in a clean environment, same pid.
as_user() {
  setpriv --reuid="$user" --regid="$user" --init-groups \
    env -i HOME="$home" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin "$@"
}

# hack_pids: the test user's running copies of the hack.
hack_pids() {
  for p in $(ps -u "$user" -o pid= 2>/dev/null); do
    [ "$(readlink "/proc/$p/exe" 2>/dev/null)" = "$home/morv-hack" ] && echo "$p"
  done
}

wait_hack() {
  for _ in $(seq 1 100); do
    pids=$(hack_pids)
    [ -n "$pids" ] && { echo "$pids" | head -n 1; return; }
    sleep 0.1
  done
}

# wait_gone <what>: no copy of the hack left within 5 s.
wait_gone() {
  for _ in $(seq 1 50); do
    [ -z "$(hack_pids)" ] && { echo "ok: $1: the hack has ended"; return; }
    sleep 0.1
  done
  fail "$1: the hack still runs: $(hack_pids)"
}

# The 640 x 400 picture centred on the 1024 x 768 screen: the tower's white pixels,
# and text at column 8 (x = 56).
check_picture() {
  shot=$1
  [ "$(convert "$shot" -crop 640x400+192+184 +repage -format '%[fx:maxima>0]' info: 2>/dev/null)" = 1 ] ||
    { fail "the picture is black ($shot)"; return; }
  rows=$(convert "$shot" -crop 8x400+248+184 +repage -colorspace gray -scale '1x25!' -depth 8 txt:- 2>/dev/null |
    awk 'NR > 1 && $NF != "gray(0)" { n++ } END { print n + 0 }')
  white=$(convert "$shot" -crop 640x400+192+184 +repage -fill black +opaque white -format '%[fx:maxima>0]' info: 2>/dev/null)
  [ "$rows" -ge 1 ] || fail "no credit line at column 8 in $shot"
  [ "$white" = 1 ] || fail "no white tower pixels in $shot"
  [ "$rows" -ge 1 ] && [ "$white" = 1 ] && echo "ok: the tower and the credit line ($shot)"
}

# shoot <png>: a screenshot once the picture shows (a loaded machine may take a while
# to start the hack), or after 20 s.
shoot() {
  for _ in $(seq 1 40); do
    import -window root "$1" 2>/dev/null
    [ "$(convert "$1" -crop 640x400+192+184 +repage -format '%[fx:maxima>0]' info: 2>/dev/null)" = 1 ] && break
    sleep 0.5
  done
  sleep 0.5
  import -window root "$1" 2>/dev/null
}

# XScreenSaver with this hack alone; its own locking off, so -deactivate ends it.
cat >"$home/.xscreensaver" <<EOF
mode: one
selected: 0
lock: False
splash: False
fade: False
unfade: False
timeout: 0:30:00
programs: "Morv" $home/morv-hack -root \\n\\

EOF
chown "$user:" "$home/.xscreensaver"
as_user xscreensaver --no-splash >"$work/xscreensaver.log" 2>&1 &
saver_pid=$!
for _ in $(seq 1 50); do
  as_user xscreensaver-command -time >/dev/null 2>&1 && break
  sleep 0.2
done
as_user xscreensaver-command -activate >/dev/null 2>&1 || fail "xscreensaver-command -activate failed"
pid=$(wait_hack)
if [ -z "$pid" ]; then
  fail "XScreenSaver did not start the hack: $(tail -n 5 "$work/xscreensaver.log")"
else
  shoot "$work/xscreensaver.png"
  check_picture "$work/xscreensaver.png"
  # CPU share over 5 s: user + system ticks of the hack against the time passed.
  ticks() { awk '{ print $14 + $15 }' "/proc/$pid/stat" 2>/dev/null; }
  hz=$(getconf CLK_TCK)
  t0=$(ticks)
  s0=$(date +%s.%N)
  sleep 5
  t1=$(ticks)
  s1=$(date +%s.%N)
  share=$(awk -v a="$t0" -v b="$t1" -v s="$s0" -v e="$s1" -v hz="$hz" 'BEGIN { printf "%.1f", (b - a) / hz / (e - s) * 100 }')
  echo "measured: the hack under XScreenSaver uses $share% of one core ($(basename "$(dirname "$hack")")/$(basename "$hack"))"
  echo "$share" >"$work/cpu-share.txt"
  as_user xscreensaver-command -deactivate >/dev/null 2>&1 || fail "xscreensaver-command -deactivate failed"
  wait_gone "XScreenSaver -deactivate"
fi
as_user xscreensaver-command -exit >/dev/null 2>&1
wait "$saver_pid" 2>/dev/null
saver_pid=

# xsecurelock runs the hack as its saver on each monitor; ending the locker ends it.
setpriv --reuid="$user" --regid="$user" --init-groups env -i HOME="$home" DISPLAY="$DISPLAY" PATH=/usr/bin:/bin \
  XSECURELOCK_SAVER="$home/morv-hack" XSECURELOCK_NO_COMPOSITE=1 xsecurelock >"$work/xsecurelock.log" 2>&1 &
locker_pid=$!
pid=$(wait_hack)
if [ -z "$pid" ]; then
  fail "xsecurelock did not start the hack: $(tail -n 5 "$work/xsecurelock.log")"
else
  shoot "$work/xsecurelock.png"
  check_picture "$work/xsecurelock.png"
  kill -0 "$pid" 2>/dev/null || fail "xsecurelock: the hack ended by itself"
fi
kill "$locker_pid" 2>/dev/null
wait "$locker_pid" 2>/dev/null
locker_pid=
wait_gone "xsecurelock ended"

[ "$failures" = 0 ] || exit 1
echo "both lockers ran the hack"
