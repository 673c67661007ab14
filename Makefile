# Front door. `make test` and `make demo` install what is missing (Debian 12,
# as root), build and run; everything else is CMake presets underneath.
JOBS ?= $(shell nproc)

.PHONY: all deps native windows fuzz test test-native test-fuzz test-windows \
        demo package bench clean

all: native windows

deps:
	@scripts/install-deps.sh

native: deps
	cmake --preset native >/dev/null
	cmake --build --preset native -j $(JOBS)

fuzz: deps
	cmake --preset fuzz >/dev/null
	cmake --build --preset fuzz -j $(JOBS)

windows: deps
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS)

test-native: native
	ctest --preset native

test-fuzz: fuzz
	ctest --preset fuzz

test-windows: windows package
	ctest --preset windows

test: test-native test-fuzz test-windows

# The idler beside the simulated client, under Wine: on your display when
# there is one, else a scripted run in a virtual X server.
VERSION ?= 4
demo:
	VERSION=$(VERSION) scripts/demo.sh

# build/windows/wendrel-idler-1.00-win64.zip
package: windows
	cmake --build --preset windows --target package

# Processor time, posting time, size, memory, start-up, and the idler beside
# a client that misbehaves; takes a few minutes.
bench: windows
	bench/run.sh
	bench/faults.sh

clean:
	-tests/e2e/wine-ctl.sh down >/dev/null 2>&1
	rm -rf build
