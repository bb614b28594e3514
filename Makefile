# The two commands a newcomer needs: `make run` and `make test`. Both install what
# they need first. Everything is built under build/.
SHELL := /bin/bash
BUILD := build
JOBS ?= $(shell nproc)
CMAKE_GEN := -G Ninja
export ZV_WINEPREFIX := $(CURDIR)/$(BUILD)/wineprefix

PACKAGES := cmake ninja-build g++ make git googletest libbenchmark-dev \
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 binutils-mingw-w64 wine wine64 xvfb xdotool \
  x11-xserver-utils x11-utils imagemagick libx11-dev libxext-dev libxrandr-dev libxss-dev \
  libpng-dev libgif-dev clang libclang-rt-14-dev libsdl2-dev libpixman-1-dev libyuv-dev

.PHONY: run test deps native check asan win64 win32 test-asan test-win64 fuzz bench fonts clean

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

win64:
	cmake -S . -B $(BUILD)/win64 $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
	cmake --build $(BUILD)/win64 -j $(JOBS)

test-win64: win64
	@mkdir -p $(ZV_WINEPREFIX)
	timeout 300 tools/wine-run.sh wineboot -i >/dev/null 2>&1 || true
	cd $(BUILD)/win64 && ctest --output-on-failure

win32:
	cmake -S . -B $(BUILD)/win32 $(CMAKE_GEN) -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release -DZV_TESTS=OFF
	cmake --build $(BUILD)/win32 -j $(JOBS)

fuzz:
	cmake -S . -B $(BUILD)/fuzz $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DZV_FUZZ=ON -DZV_TESTS=OFF
	cmake --build $(BUILD)/fuzz -j $(JOBS)
	tools/run-fuzzers.sh $(BUILD)/fuzz

bench:
	cmake -S . -B $(BUILD)/bench $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DZV_BENCH=ON -DZV_TESTS=OFF
	cmake --build $(BUILD)/bench -j $(JOBS)
	tools/run-benchmarks.sh $(BUILD)/bench

test: deps
	$(MAKE) test-asan
	$(MAKE) test-win64
	$(MAKE) win32
	$(MAKE) fuzz

# Regenerates gfx/text/packed_fonts.cpp from the console fonts beside the clone.
FONTS_DIR ?= ../shared/fonts
fonts:
	cmake -S . -B $(BUILD)/native $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD)/native --target fontpack
	@mkdir -p $(BUILD)/fonts-src
	for f in cp865-8x8 cp865-8x14 default8x16; do gunzip -c $(FONTS_DIR)/$$f.psf.gz > $(BUILD)/fonts-src/$$f.psf; done
	$(BUILD)/native/tools/fontpack/fontpack $(BUILD)/fonts-src/cp865-8x8.psf $(BUILD)/fonts-src/cp865-8x14.psf \
	  $(BUILD)/fonts-src/default8x16.psf gfx/text/packed_fonts.cpp

clean:
	rm -rf $(BUILD)
