#!/bin/sh
# deb_consumer.sh <build dir> <work dir> <source dir> [extra compiler and linker flags]
# Builds the Debian package of the build tree, unpacks it into a scratch root and checks
# what it holds; then builds a project from outside against the unpacked library, once
# with CMake's find_package and once with pkg-config, runs both, and checks that a
# project asking for a newer version is refused by CMake with its version error.
set -u
build=$1
work=$2
here=$3
flags=${4:-}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

rm -rf "$work"
mkdir -p "$work"
work=$(cd "$work" && pwd)
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work/out" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log"; echo "FAIL: cpack"; exit 1; }
deb=$(ls "$work"/out/*.deb 2>/dev/null | head -1)
[ -n "$deb" ] || { echo "FAIL: no .deb in $work/out"; exit 1; }
echo "package: $deb ($(stat -c %s "$deb") bytes)"
dpkg-deb --info "$deb" | grep -E 'Package|Version|Depends' | sed 's/^/  /'
root=$work/root
dpkg -x "$deb" "$root" || { echo "FAIL: dpkg -x"; exit 1; }

for file in usr/bin/morv usr/bin/morv-render usr/bin/morv-hack usr/share/xscreensaver/config/morv-hack.xml \
            usr/share/man/man6/morv-hack.6 usr/include/zvgfx/zvgfx.h usr/include/zvgfx/gfx/draw/line.h; do
  [ -e "$root/$file" ] || fail "the package lacks /$file"
done
config=$(find "$root" -name zvgfxConfig.cmake | head -1)
version_file=$(find "$root" -name zvgfxConfigVersion.cmake | head -1)
pc=$(find "$root" -name zvgfx.pc | head -1)
library=$(find "$root" -name libzvgfx.a | head -1)
[ -n "$config" ] && [ -n "$version_file" ] || fail "the package lacks the CMake package files"
[ -n "$pc" ] || fail "the package lacks zvgfx.pc"
[ -n "$library" ] || fail "the package lacks libzvgfx.a"
[ "$failures" = 0 ] || exit 1

# Every header that zvgfx.h reaches is in the package: it compiles on its own.
echo '#include <zvgfx.h>' | c++ -std=c++20 -fsyntax-only -I"$root/usr/include/zvgfx" -x c++ - \
  || fail "zvgfx.h does not compile from the package alone"

run_consumer() {
  how=$1
  out=$(env -u DISPLAY "$work/$how/consumer" 2>&1)
  case $out in
    drawn|"no screen") echo "ok: the $how build runs ($out)" ;;
    *) fail "the $how build printed: $out" ;;
  esac
}

# CMake: find_package(zvgfx 1.0) with the scratch root as the prefix.
if cmake -S "$here/consumer" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$root/usr" \
     -DCMAKE_CXX_FLAGS="$flags" -DCMAKE_EXE_LINKER_FLAGS="$flags" >"$work/cmake.log" 2>&1 \
   && cmake --build "$work/cmake" >>"$work/cmake.log" 2>&1; then
  run_consumer cmake
else
  cat "$work/cmake.log"; fail "the CMake consumer does not build"
fi

# pkg-config: the .pc finds its prefix from where it lies.
mkdir -p "$work/pkgconfig"
cflags=$(PKG_CONFIG_PATH=$(dirname "$pc") pkg-config --cflags zvgfx) || fail "pkg-config --cflags"
libs=$(PKG_CONFIG_PATH=$(dirname "$pc") pkg-config --libs zvgfx) || fail "pkg-config --libs"
case $cflags in *"$root"*) ;; *) fail "pkg-config's include path is not in the unpacked root: $cflags" ;; esac
# shellcheck disable=SC2086
if c++ -std=c++20 $flags $cflags "$here/consumer/main.cpp" -o "$work/pkgconfig/consumer" $libs; then
  run_consumer pkgconfig
else
  fail "the pkg-config consumer does not build"
fi

# The README's example, as a newcomer would copy it, builds against the package too.
sed -n '/^```cpp$/,/^```$/p' "$here/../../README.md" | sed '1d;$d' >"$work/readme.cpp"
# shellcheck disable=SC2086
if [ -s "$work/readme.cpp" ] && c++ -std=c++20 $flags $cflags "$work/readme.cpp" -o "$work/readme" $libs; then
  echo "ok: the README example builds ($(wc -l <"$work/readme.cpp") lines)"
else
  fail "the README example does not build"
fi

# A newer version than installed: CMake's own version error, naming both versions.
if cmake -S "$here/consumer_newer" -B "$work/newer" -G Ninja -DCMAKE_PREFIX_PATH="$root/usr" \
     >"$work/newer.log" 2>&1; then
  fail "find_package(zvgfx 99.0) was accepted"
elif grep -q 'compatible' "$work/newer.log" && grep -q '99.0' "$work/newer.log"; then
  echo "ok: find_package(zvgfx 99.0) is refused"
else
  cat "$work/newer.log"; fail "find_package(zvgfx 99.0) failed without the version error"
fi

[ "$failures" = 0 ] && echo "deb_consumer: all checks passed"
[ "$failures" = 0 ]
