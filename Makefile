# The two commands a newcomer needs: `make run` and `make test`. Both install what
# they need first. Everything is built under build/.
SHELL := /bin/bash
BUILD := build
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja
export ZV_WINEPREFIX := $(CURDIR)/$(BUILD)/wineprefix

PACKAGES := cmake ninja-build g++ make git googletest libbenchmark-dev \
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64 wine wine64 xvfb xdotool \
  x11-xserver-utils x11-utils xserver-xorg-core xserver-xorg-video-dummy xscreensaver xsecurelock imagemagick libx11-dev libxext-dev libxrandr-dev libxss-dev \
  libpng-dev libgif-dev clang libclang-rt-14-dev libsdl2-dev libpixman-1-dev libyuv-dev \
  libgl-dev libgl1-mesa-dri libglx-mesa0 tmux \
  nsis icoutils dpkg-dev pkgconf unzip libxpresent-dev

.PHONY: run test deps native check asan tsan win64 win32 test-asan test-tsan test-win64 fuzz fuzz-build fuzz-long \
  bench fonts package clean soak

deps:
	@missing=$$(for p in $(PACKAGES); do dpkg-query -W -f='$${Status}\n' $$p 2>/dev/null | grep -q '^install ok installed' || echo $$p; done); \
	if [ -n "$$missing" ]; then \
	  echo "Installing:" $$missing; \
	  apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	fi

# Plain native build for everyday work.
native:
	cmake -S . -B $(BUILD)/native $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD)/native -j $(JOBS)

check: native
	cd $(BUILD)/native && ctest --output-on-failure -j $(JOBS)

run: deps native
	tools/run-saver.sh $(BUILD)/native/morv

asan:
	cmake -S . -B $(BUILD)/asan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DZV_SANITIZE=ON
	cmake --build $(BUILD)/asan -j $(JOBS)

test-asan: asan
	cd $(BUILD)/asan && ASAN_OPTIONS=abort_on_error=0:halt_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	  ctest --output-on-failure -j $(JOBS)

# ThreadSanitizer build: every test, the end-to-end runs on a private Xvfb included,
# fails on the first report.
tsan:
	cmake -S . -B $(BUILD)/tsan $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZV_TSAN=ON
	cmake --build $(BUILD)/tsan -j $(JOBS)

test-tsan: tsan
	cd $(BUILD)/tsan && TSAN_OPTIONS=halt_on_error=1:exitcode=66:second_deadlock_stack=1 \
	  ctest --output-on-failure -j $(JOBS)

win64:
	cmake -S . -B $(BUILD)/win64 $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD)/win64 -j $(JOBS)

test-win64: win64
	@mkdir -p $(ZV_WINEPREFIX)
	# The prefix is set up with a display, so wine records its display devices (DirectDraw's
	# monitor enumeration needs them).
	timeout 300 tools/run-on-private-xvfb.sh tools/wine-run.sh wineboot -i >/dev/null 2>&1 || true
	cd $(BUILD)/win64 && ctest --output-on-failure

win32:
	cmake -S . -B $(BUILD)/win32 $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release -DZV_TESTS=OFF
	cmake --build $(BUILD)/win32 -j $(JOBS)

fuzz-build:
	cmake -S . -B $(BUILD)/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DZV_FUZZ=ON -DZV_TESTS=OFF
	cmake --build $(BUILD)/fuzz -j $(JOBS)

# Each target for a bounded time (20 s).
fuzz: fuzz-build
	tools/run-fuzzers.sh $(BUILD)/fuzz

# A campaign: each target for FUZZ_SECONDS (default 1800) or FUZZ_RUNS inputs (default
# 10 million), whichever ends first, at the lowest priority.
FUZZ_SECONDS ?= 1800
FUZZ_RUNS ?= 10000000
fuzz-long: fuzz-build
	ZV_FUZZ_SECONDS=$(FUZZ_SECONDS) ZV_FUZZ_RUNS=$(FUZZ_RUNS) nice -n 19 tools/run-fuzzers.sh $(BUILD)/fuzz

# The saver for SOAK_SECONDS (default 1800) on a private Xvfb, natively and under wine64,
# with a table of memory, descriptors and CPU every 30 s in build/soak/*/soak.txt.
SOAK_SECONDS ?= 1800
soak: deps native win64
	tools/soak.sh $(BUILD)/native/morv $(SOAK_SECONDS) $(BUILD)/soak/native
	tools/soak.sh $(BUILD)/win64/morv.scr $(SOAK_SECONDS) $(BUILD)/soak/wine wine

bench:
	cmake -S . -B $(BUILD)/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DZV_BENCH=ON -DZV_TESTS=OFF
	cmake --build $(BUILD)/bench -j $(JOBS)
	tools/run-benchmarks.sh $(BUILD)/bench

test: deps
	$(MAKE) test-asan
	$(MAKE) test-tsan
	$(MAKE) test-win64
	$(MAKE) win32
	$(MAKE) fuzz

# Regenerates gfx/text/packed_fonts.cpp from the console fonts in third_party/fonts.
FONTS_DIR ?= third_party/fonts
fonts:
	cmake -S . -B $(BUILD)/native $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD)/native --target fontpack
	tools/make-fonts.sh $(BUILD)/native/tools/fontpack/fontpack $(FONTS_DIR) $(BUILD)/fonts-src gfx/text/packed_fonts.cpp

# The packages, in build/packages: the Debian package (a release build without the
# tests), and the Windows installer and zip of morv.scr.
package: deps
	cmake -S . -B $(BUILD)/package $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DZV_TESTS=OFF
	cmake --build $(BUILD)/package -j $(JOBS)
	cd $(BUILD)/package && cpack -B $(CURDIR)/$(BUILD)/packages
	$(MAKE) win64
	cd $(BUILD)/win64 && cpack -B $(CURDIR)/$(BUILD)/packages
	@ls -l $(BUILD)/packages/*.deb $(BUILD)/packages/*.exe $(BUILD)/packages/*.zip

clean:
	rm -rf $(BUILD)
