#!/bin/bash
# console_tmux.sh <example_console> <console_cases> <work dir>
# The console in a real terminal: tmux runs the programs in a pane of a known size,
# keys go in with send-keys, the screen comes back with capture-pane (text and colours).
# Redirected output is compared byte for byte; the terminal's modes must be as before
# after every way out (normal end, crash, close signal).
set -u
example=$1
cases=$2
work=$3
mkdir -p "$work"
work=$(cd "$work" && pwd)
. "$(dirname "$0")/../../tools/private-tmux.sh"
failures=0
trap stop_private_tmux EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}
expect_pane() { wait_pane "$1" "${3:-10}" || { fail "$2"; pane_text > "$work/failed-$failures.txt"; }; }
expect_no() { pane_text | grep -Eq -- "$1" && fail "$2"; }

# Runs a command in a fresh 80 x 24 pane; the terminal modes are saved before and after.
run() {
  stop_private_tmux
  rm -f "$work/stty-before" "$work/stty-after"
  start_private_tmux "$work" "${2:-80}" "${3:-24}" \
    "stty -g > $work/stty-before; $1; status=\$?; stty -g > $work/stty-after; (exit \$status)"
}
modes_restored() {
  wait_pane '^EXIT' 10
  sleep 0.2
  cmp -s "$work/stty-before" "$work/stty-after" || fail "$1: terminal modes not restored"
}

command -v tmux >/dev/null || { echo "missing tmux"; exit 1; }

# The example: colours, a text window, locate, a second page, line input, key codes.
run "$example"
expect_pane 'locate gave 6145' "example: footer with the locate result"
pane_colours > "$work/example-start.ansi"
pane_text > "$work/example-start.txt"
[ "$(sed -n 1p "$work/example-start.txt")" = " zvgfx console - 80 x 24" ] || fail "example: title row"
grep -q $'\e\[97m\e\[44m zvgfx' "$work/example-start.ansi" || fail "example: title in bright white on blue"
grep -q $'\e\[101m 12' "$work/example-start.ansi" || fail "example: bright red background for colour 12"
sed -n 4p "$work/example-start.txt" | grep -q '^line 4 of 20' || fail "example: text window scrolled its own rows"
sed -n 20p "$work/example-start.txt" | grep -q '^line 20 of 20' || fail "example: last line on the window's second last row"
[ -z "$(sed -n 21p "$work/example-start.txt")" ] || fail "example: the final line feed scrolled the window"
tmux_do send-keys x
expect_pane 'This is page 1' "example: page 1 shown"
expect_no 'zvgfx console' "example: page 0's title hidden on page 1"
pane_text > "$work/example-page1.txt"
tmux_do send-keys y
expect_pane 'zvgfx console' "example: page 0 shown again"
expect_pane 'Your name\?' "example: prompt"
tmux_do send-keys B o b Left X Enter
expect_pane 'Hello, BoXb!' "example: line input with an edit"
tmux_do send-keys Up Down F1 F5 F10 S-F1 M-a C-b F11 F12 Home End PageUp PageDown IC DC
expect_pane 'code 21503' "example: key codes"
for code in 18687 20735 15359 16383 17663 21759 7935 '2 ' 34303 34559 18431 20479 18943 20991 21247 21503; do
  pane_text | grep -q "key code $code" || fail "example: key code $code missing"
done
tmux_do send-keys M-KP1 M-KP2 x
expect_pane 'key code 120 ' "example: Alt with keypad keys does not disturb the keys after it"
pane_text > "$work/example-keys.txt"
tmux_do send-keys Escape
expect_pane '^EXIT 0' "example: Esc ends with 0"
modes_restored "example"

# Printing past the bottom of a full-screen window scrolls the terminal.
run "$cases scroll"
expect_pane 'done' "scroll: printed"
[ "$(pane_text | sed -n 1p)" = "scroll line 8" ] || fail "scroll: top row after scrolling"
[ "$(pane_text | sed -n 23p)" = "scroll line 30" ] || fail "scroll: last line"
tmux_do capture-pane -p -S -30 | grep -q '^scroll line 1$' || fail "scroll: lines went into the scroll-back"
tmux_do send-keys q
modes_restored "scroll"

# The width: the query, a 40 x 10 console in the terminal, wrapping at column 40.
run "$cases width"
expect_pane 'before 80x24 change 0 now 40x10' "width: results"
[ "$(pane_text | sed -n 2p)" = "$(printf 'w%.0s' $(seq 40))" ] || fail "width: wraps at 40 columns"
[ "$(pane_text | sed -n 3p)" = "wwwww" ] || fail "width: the rest on the next row"
tmux_do send-keys q
modes_restored "width"

# Pages: the page result, page 1 shown, page 0 back with its text.
run "$cases pages"
expect_pane 'on page one 0' "pages: page 1 with the previous pages 0"
expect_no 'on page zero' "pages: page 0 hidden"
tmux_do send-keys x
expect_pane 'back 257' "pages: back on page 0, previous pages 1 and 1"
expect_pane 'on page zero' "pages: page 0's text kept"
tmux_do send-keys x
modes_restored "pages"

# The terminal's size, before and after it changes.
run "$cases size"
expect_pane 'size 80x24' "size: first"
tmux_do resize-window -x 100 -y 30
sleep 0.3
tmux_do send-keys x
expect_pane 'size 100x30' "size: after SIGWINCH"
tmux_do send-keys x
modes_restored "size"

# The mouse in SGR reports.
run "$cases mouse"
expect_pane 'mouse 1' "mouse: none before an event"
tmux_do send-keys -l $'\e[<0;12;7M'
tmux_do send-keys x
expect_pane 'mouse 0 at 12,7 wheel 0 buttons 1' "mouse: press"
tmux_do send-keys -l $'\e[<0;12;7m\e[<65;3;4M'
tmux_do send-keys x
expect_pane 'mouse 0 at 3,4 wheel -1 buttons 0' "mouse: release and wheel"
tmux_do send-keys q
modes_restored "mouse"

# SIGTERM posts the close key; a second one before it is taken ends the program.
run "$cases keys"
expect_pane 'ready' "close: started"
pid=$(pgrep -n -f "console_cases keys")
kill -TERM "$pid"
expect_pane 'code 27647' "close: SIGTERM gives the close key"
expect_pane '^EXIT 0' "close: the program ends itself"
modes_restored "close"

# A crash in key mode leaves the terminal as it was. A sanitizer's report of the crash
# goes to a file: on the pane it would scroll the line the test looks for out of sight.
run "$cases crash 2>$work/crash.err"
expect_pane '^EXIT' "crash: ended"
pane_text | grep -q '^keys 0' || fail "crash: key mode was entered"
modes_restored "crash"

# Redirected output: exactly the bytes printed.
"$cases" bytes > "$work/bytes.out" < /dev/null
{ for b in $(seq 1 255); do printf "\\$(printf %03o "$b")"; done; printf 'after colour, locate and clear\r\n'; } > "$work/bytes.expected"
cmp "$work/bytes.out" "$work/bytes.expected" || fail "redirected output differs"
"$example" < /dev/null > "$work/example.out" 2>&1 &
example_pid=$!
sleep 1
kill "$example_pid" 2>/dev/null
wait "$example_pid" 2>/dev/null
grep -q 'line 20 of 20 in the text window' "$work/example.out" || fail "example with redirected output"
grep -q $'\e' "$work/example.out" && fail "redirected output holds escape sequences"

# A reader that goes away is an error of the write, not a crash.
"$cases" flood | head -c 100 > /dev/null
status=${PIPESTATUS[0]}
[ "$status" = 3 ] || fail "flood into a closed pipe: exit $status (3 = the write error was reported)"

echo "console in tmux: $failures failure(s)"
[ "$failures" -eq 0 ]
