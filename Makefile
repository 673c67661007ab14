# Front door. `make test` and `make demo` install what is missing (Debian 12,
# as root), build and run; everything else is CMake presets underneath.
JOBS ?= $(shell nproc)

.PHONY: all deps native windows win32 fuzz test test-quick test-native test-fuzz test-windows \
        test-win32 run-native run-fuzz run-windows run-win32 run-quick demo package bench clean

all: native windows win32

deps:
	@scripts/install-deps.sh

# Each build is the CMake preset of its name: native (with the sanitizers),
# fuzz, windows (64-bit) and win32 (the 32-bit program, for every Windows
# from XP SP3 on).
native fuzz windows win32: deps
	cmake --preset $@ >/dev/null
	cmake --build --preset $@ -j $(JOBS)

# Each suite on its own; the 64-bit suite runs the 32-bit programs too,
# where this machine can.
test-native: native
	ctest --preset native
test-fuzz: fuzz
	ctest --preset fuzz
test-windows: windows win32
	ctest --preset windows
test-win32: win32
	ctest --preset win32

# Everything, built first, then the four suites at once: they spend most
# of their time waiting on Wine, each lane in a prefix of its own. Each
# suite's report is printed whole as it ends.
test: native fuzz windows win32
	@$(MAKE) --no-print-directory -O -j4 run-native run-fuzz run-windows run-win32

# The first answer: the native tests and the in-process suite under Wine.
test-quick: native
	cmake --preset windows >/dev/null
	cmake --build --preset windows -j $(JOBS) --target wendrel_tests
	@$(MAKE) --no-print-directory -O -j2 run-native run-quick

run-native run-fuzz run-windows run-win32:
	ctest --preset $(@:run-%=%)
run-quick:
	ctest --preset windows -L quick

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
