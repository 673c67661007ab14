# Front door. `make test` and `make demo` install what is missing (Debian 12,
# as root), build and run; everything else is CMake presets underneath.
JOBS ?= $(shell nproc)

.PHONY: all deps native windows win32 fuzz test test-native test-fuzz test-windows \
        test-win32 demo package bench clean

all: native windows win32

deps:
	@scripts/install-deps.sh

# Each build is the CMake preset of its name: native (with the sanitizers),
# fuzz, windows (64-bit) and win32 (the 32-bit program, for every Windows
# from XP SP3 on).
native fuzz windows win32: deps
	cmake --preset $@ >/dev/null
	cmake --build --preset $@ -j $(JOBS)

test-native: native
	ctest --preset native

test-fuzz: fuzz
	ctest --preset fuzz

# The 64-bit suite runs the 32-bit programs too, where this machine can.
test-windows: windows win32 package
	ctest --preset windows

test-win32: win32 package
	ctest --preset win32

test: test-native test-fuzz test-windows test-win32

# The idler beside the simulated client, under Wine: on your display when
# there is one, else a scripted run in a virtual X server.
VERSION ?= 4
demo:
	VERSION=$(VERSION) scripts/demo.sh

# build/windows/wendrel-idler-1.00-win64.zip, build/win32/wendrel-idler-1.00-win32.zip
package: windows win32
	cmake --build --preset windows --target package
	cmake --build --preset win32 --target package

# Processor time, posting time, size, memory, start-up, and the idler beside
# a client that misbehaves; takes a few minutes.
bench: windows win32
	bench/run.sh
	bench/faults.sh

clean:
	-scripts/wine-ctl.sh down >/dev/null 2>&1
	rm -rf build
