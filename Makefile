# The two commands of the README: `make run` and `make test`. Everything else is a step of them.
BUILD  ?= build
NATIVE := $(BUILD)/native
WIN    := $(BUILD)/win
# The 64-bit Windows build runs the Windows tests where Wine cannot start 32-bit programs.
WIN64  := $(BUILD)/win64
JOBS   ?= $(shell nproc)
DEMO   := $(BUILD)/demo

.PHONY: all setup native win win64 test test-native test-win run dist bench format clean

all: native win win64

setup:
	@bash scripts/setup

# The Windows build whose programs Wine can start here: the product's, else the 64-bit one.
WINTEST = $(shell scripts/can-run-win32 && echo $(WIN) || echo $(WIN64))

native: setup
	@cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMETRA_SANITIZE=ON \
	    -DLUMETRA_WINDOWS_TEST_BUILD=$(abspath $(WINTEST)) >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

win: setup
	@cmake -S . -B $(WIN) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-mingw-i686.cmake >/dev/null
	@cmake --build $(WIN) -j $(JOBS)

win64: setup
	@cmake -S . -B $(WIN64) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-mingw-x86_64.cmake >/dev/null
	@cmake --build $(WIN64) -j $(JOBS)

test-native: native win win64
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)

# The product's own 32-bit build where Wine can run it, else the same tests built for 64 bits.
test-win: win win64
	@if scripts/can-run-win32; then \
	    ctest --test-dir $(WIN) --output-on-failure -j $(JOBS); \
	else \
	    echo "Wine cannot start 32-bit programs here: running the 64-bit build of the Windows tests"; \
	    ctest --test-dir $(WIN64) --output-on-failure -j $(JOBS); \
	fi

test: test-native test-win

# The viewer on the demo installation: in a window where there is a display, else on a private
# Xvfb, leaving a screenshot whose path is printed.
VIEWER_LANGUAGE ?= 0
run: native win win64
	@if scripts/can-run-win32; then w=$(WIN); else w=$(WIN64); fi; \
	    scripts/show-viewer $$w $(NATIVE)/tools/demohist/demohist $(DEMO) $(VIEWER_LANGUAGE) $(abspath $(DEMO))/histview.png

# The deliverables of the 32-bit build with a short text for Windows users, as one zip.
dist: win
	@scripts/make-dist $(WIN) $(BUILD)/dist

# Figures only, never a pass/fail: an optimised native build without sanitizers.
bench: setup win win64
	@cmake -S . -B $(BUILD)/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMETRA_SANITIZE=OFF >/dev/null
	@cmake --build $(BUILD)/bench -j $(JOBS) --target history_bench snmpprobe
	@cd $(BUILD)/bench && tools/bench/history_bench
	@python3 rtprobe/agents/bench_walk.py $(abspath $(BUILD))/bench/rtprobe/snmpprobe
	@viewer/bench-viewer $(WINTEST)

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
