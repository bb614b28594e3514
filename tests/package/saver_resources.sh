#!/bin/sh
# saver_resources.sh <morv.scr> <a console example .exe> <work dir> <version>
# The saver file as Windows expects a screensaver: a GUI program (PE subsystem 2),
# so that no console window opens beside it, with a version resource and string 1,
# the name the screensaver settings list shows. The examples stay console programs (3).
set -u
saver=$1
example=$2
work=$3
version=$4
mkdir -p "$work"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

subsystem() { x86_64-w64-mingw32-objdump -p "$1" | awk '/^Subsystem/ { print $2 + 0 }'; }
[ "$(subsystem "$saver")" = 2 ] || fail "$saver: subsystem $(subsystem "$saver"), not 2 (Windows GUI)"
[ "$(subsystem "$example")" = 3 ] || fail "$example: subsystem $(subsystem "$example"), not 3 (console)"

# hex <resource type> <name>: the resource's bytes as one line of hex.
hex() {
  wrestool -x --raw --type="$1" --name="$2" "$saver" >"$work/resource" 2>/dev/null || return 1
  od -An -v -tx1 "$work/resource" | tr -d ' \n'
}
utf16() { printf '%s' "$1" | od -An -v -tx1 | tr -d ' \n' | sed 's/\(..\)/\100/g'; }

# String block 1 holds strings 0 to 15, each a UTF-16 length and its text: string 0 is
# empty (0000), string 1 is "MORV" (0400 and the four characters).
strings=$(hex 6 1) || fail "no string table block 1"
case $strings in
  0000"0400$(utf16 MORV)"*) echo "ok: string 1 is MORV" ;;
  *) fail "string 1 is not MORV: $strings" ;;
esac

resource=$(hex 16 1) || fail "no version resource"
case $resource in
  *"$(utf16 FileVersion)"*"$(utf16 "$version")"*) echo "ok: the version resource gives file version $version" ;;
  *) fail "the version resource lacks FileVersion $version" ;;
esac
case $resource in
  *"$(utf16 morv.scr)"*) ;;
  *) fail "the version resource lacks the original file name morv.scr" ;;
esac

[ "$failures" = 0 ] && echo "saver_resources: all checks passed"
[ "$failures" = 0 ]
