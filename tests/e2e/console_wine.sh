#!/bin/bash
# console_wine.sh <example_console.exe> <console_cases.exe> <wine-run.sh> <work dir>
# The Windows console binding under wine64. Run from a terminal, wine's console draws on
# that terminal: tmux runs the programs there, sends keys and reads the screen back.
# What that console does not redraw is read back from the console buffer itself
# (ZV_CONSOLE_DUMP). Held keys need a console window: wineconsole on a private Xvfb.
set -u
example=$1
cases=$2
wine_run=$3
work=$4
mkdir -p "$work"
work=$(cd "$work" && pwd)
tools="$(cd "$(dirname "$0")/../../tools" && pwd)"
. "$tools/private-tmux.sh"
. "$tools/private-xvfb.sh"
failures=0
xvfb_pid=
cleanup() {
  stop_private_tmux
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
expect_pane() { wait_pane "$1" "${3:-20}" || { fail "$2"; pane_text > "$work/failed-$failures.txt"; }; }
dump="$work/dump.txt"
run() {
  stop_private_tmux
  rm -f "$dump"
  start_private_tmux "$work" 80 24 "ZV_CONSOLE_DUMP=$dump $wine_run $1"
}
# The rows of one dump section, numbered from 1.
dump_row() { awk -v label="== $1" -v row="$2" '$0 == label { on = 1; n = 0; next } /^== / { on = 0 } on && ++n == row' "$dump"; }
wait_file() { for _ in $(seq 1 100); do grep -q "$1" "$2" 2>/dev/null && return 0; sleep 0.2; done; return 1; }

for tool in tmux Xvfb xdotool import; do
  command -v $tool >/dev/null || { echo "missing $tool"; exit 1; }
done

# The example: colours, text window, locate, page 1, line input and key codes.
run "$example"
expect_pane 'locate gave 6145' "example: footer with the locate result" 40
pane_colours > "$work/example-start.ansi"
pane_text > "$work/example-start.txt"
[ "$(sed -n 1p "$work/example-start.txt")" = " zvgfx console - 80 x 24" ] || fail "example: title row"
grep -q $'\e\[97m\e\[44m zvgfx' "$work/example-start.ansi" || fail "example: title in bright white on blue"
sed -n 4p "$work/example-start.txt" | grep -q '^line 4 of 20' || fail "example: text window scrolled its own rows"
sed -n 20p "$work/example-start.txt" | grep -q '^line 20 of 20' || fail "example: last line"
tmux_do send-keys x
expect_pane 'This is page 1' "example: page 1 shown"
tmux_do send-keys y
expect_pane 'Your name\?' "example: prompt"
tmux_do send-keys B o b Left X Enter
expect_pane 'Hello, BoXb!' "example: line input with an edit"
tmux_do send-keys Up Down F1 F10 S-F1 M-a C-b F12 PageDown DC
expect_pane 'code 21503' "example: key codes"
for code in 18687 20735 15359 17663 21759 7935 '2 ' 34559 20991 21503; do
  pane_text | grep -q "key code $code" || fail "example: key code $code missing"
done
pane_text > "$work/example-keys.txt"
tmux_do send-keys q
expect_pane 'EXIT 0' "example: q ends with 0"

# Scrolling the whole buffer, read back from the buffer and seen on the terminal.
run "$cases scroll"
wait_file '^done' "$dump" || fail "scroll: no dump"
[ "$(dump_row scroll 1)" = "scroll line 8" ] || fail "scroll: buffer's top row"
[ "$(dump_row scroll 23)" = "scroll line 30" ] || fail "scroll: buffer's last line"
expect_pane '^scroll line 30$' "scroll: terminal shows the scrolled buffer"
tmux_do send-keys q
expect_pane 'EXIT 0' "scroll: ends"

# The width query and a 40 x 10 console.
run "$cases width"
wait_file '^wwwww$' "$dump" || fail "width: no dump"
[ "$(dump_row width 1)" = "before 80x24 change 0 now 40x10" ] || fail "width: results"
[ "$(dump_row width 2)" = "$(printf 'w%.0s' $(seq 40))" ] || fail "width: wraps at 40"
tmux_do send-keys q
expect_pane 'EXIT 0' "width: ends"

# The first page change: page 1 is created, made active and written to.
run "$cases pages"
wait_file 'on page one' "$dump" || fail "pages: no dump"
[ "$(dump_row 'page 1' 1)" = "on page one 0" ] || fail "pages: page 1 is the active buffer"
expect_pane 'on page one 0' "pages: page 1 on the terminal"
tmux_do send-keys x
tmux_do send-keys x
expect_pane 'EXIT 0' "pages: ends"

# Redirected output: exactly the bytes printed.
ZV_CONSOLE_DUMP= "$wine_run" "$cases" bytes > "$work/bytes.out" < /dev/null
{ for b in $(seq 1 255); do printf "\\$(printf %03o "$b")"; done; printf 'after colour, locate and clear\r\n'; } > "$work/bytes.expected"
cmp "$work/bytes.out" "$work/bytes.expected" || fail "redirected output differs"

# Held keys through the console window, in wineconsole on a private X server.
start_private_xvfb "$work" || exit 1
# The runs above left a wine session without a display; wineconsole needs one on this one.
prefix=${ZV_WINEPREFIX:-${WINEPREFIX:-$(pwd)/wineprefix}}
WINEPREFIX=$prefix /usr/lib/wine/wineserver -k 2>/dev/null
WINEPREFIX=$prefix /usr/lib/wine/wineserver -w 2>/dev/null
rm -f "$dump"
ZV_CONSOLE_DUMP=$dump "$wine_run" wineconsole "$cases" held > "$work/wineconsole.log" 2>&1 &
held_pid=$!
wait_file '^held 0' "$dump" || fail "held: did not start"
window=$(xdotool search --name 'console_cases' 2>/dev/null | head -1)
[ -n "$window" ] && xdotool windowactivate "$window" 2>/dev/null
xdotool keydown shift
sleep 1
import -window root "$work/held.png"
grep -q '^held -1' "$dump" || fail "held: Shift held gives -1"
xdotool keyup shift
sleep 0.2
: > "$dump"
sleep 0.8
grep -q '^held 0' "$dump" || fail "held: released gives 0"
grep -q '^held -1' "$dump" && fail "held: still held after the release"
xdotool key q
for _ in $(seq 1 50); do kill -0 "$held_pid" 2>/dev/null || break; sleep 0.1; done
if kill -0 "$held_pid" 2>/dev/null; then
  fail "held: q did not end it"
  WINEPREFIX="${ZV_WINEPREFIX:-}" /usr/lib/wine/wineserver -k 2>/dev/null
fi
wait "$held_pid" 2>/dev/null

echo "console under wine: $failures failure(s)"
[ "$failures" -eq 0 ]
