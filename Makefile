# The two commands of the README: `make run` and `make test`. Everything else is a step of them.
BUILD  ?= build
NATIVE := $(BUILD)/native
WIN    := $(BUILD)/win
# The 64-bit Windows build runs the Windows tests where Wine cannot start 32-bit programs.
WIN64  := $(BUILD)/win64
JOBS   ?= $(shell nproc)
DEMO   := $(BUILD)/demo

.PHONY: all setup native win win64 wintest deliverables test test-native test-win run dist bench format clean

# One goal at a time: the native tests and the Windows tests share the Windows build's Wine server
# and display, which each run stops when it ends. (The builds are parallel within themselves.)
.NOTPARALLEL:

all: native win win64

setup:
	@bash scripts/setup $(BUILD)

# The Windows build whose programs Wine can start here: the product's 32-bit one, else the 64-bit
# one. It is decided when a recipe runs, after setup (which may just have installed Wine's 32-bit
# loader), never when this file is read; LUMETRA_WINE32=0 in the environment decides as where Wine
# cannot start 32-bit programs (scripts/can-run-win32 reads it).
CAN_RUN_WIN32 = $(shell scripts/can-run-win32 && echo yes)
WINTEST = $(if $(CAN_RUN_WIN32),$(WIN),$(WIN64))
WINTEST_ARCH = $(if $(CAN_RUN_WIN32),i686,x86_64)

configure-native = cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMETRA_SANITIZE=ON \
    -DLUMETRA_WINDOWS_TEST_BUILD=$(abspath $(WINTEST)) >/dev/null
# $(call configure-windows,FOLDER,i686|x86_64)
configure-windows = cmake -S . -B $(1) -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-mingw-$(2).cmake >/dev/null

native: setup
	@$(configure-native)
	@cmake --build $(NATIVE) -j $(JOBS)

win: setup
	@$(call configure-windows,$(WIN),i686)
	@cmake --build $(WIN) -j $(JOBS)

win64: setup
	@$(call configure-windows,$(WIN64),x86_64)
	@cmake --build $(WIN64) -j $(JOBS)

# The Windows build whose tests run here (see WINTEST), whole.
wintest: setup
	@$(call configure-windows,$(WINTEST),$(WINTEST_ARCH))
	@cmake --build $(WINTEST) -j $(JOBS)

# The three deliverables of the 32-bit build, and nothing else of it.
deliverables: setup
	@$(call configure-windows,$(WIN),i686)
	@cmake --build $(WIN) -j $(JOBS) --target histview linkwait rtprobe

# $(call with-wine-stopped,COMMAND): the command, then whatever it left running under the Windows
# test build's Wine (a test stopped midway too); the command's failure is the result.
with-wine-stopped = status=0; $(1) || status=$$?; \
    scripts/wine-stop $(WINTEST) || { [ $$status != 0 ] || status=1; }; exit $$status

test-native: native wintest
	@$(call with-wine-stopped,ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS))

# The product's own 32-bit build is built whole everywhere, its test programs included, so that a
# fault only that build has (a callback of the wrong calling convention) fails here too. Its tests
# run where Wine can start them; elsewhere the same tests run from the 64-bit build.
test-win: win wintest
	@$(if $(CAN_RUN_WIN32),,echo "Wine cannot start 32-bit programs here: the 32-bit tests were built; running the 64-bit build of them")
	@$(call with-wine-stopped,ctest --test-dir $(WINTEST) --output-on-failure -j $(JOBS))

test: test-native test-win

# The viewer on the demo installation: in a window where there is a display, else on a private
# Xvfb, leaving a screenshot whose path is printed. Only the viewer and the demo writer are built;
# Wine makes its prefix meanwhile.
VIEWER_LANGUAGE ?= 0
# Once the viewer is closed, or its screenshot taken, nothing of Wine is left running.
build-and-show = { $(WINTEST)/wine-run cmd /c exit >/dev/null 2>&1 </dev/null & \
    cmake --build $(WINTEST) -j $(JOBS) --target histview demohist; built=$$?; wait; [ $$built = 0 ]; } && \
    scripts/show-viewer $(WINTEST) $(WINTEST)/tools/demohist/demohist.exe $(DEMO) $(VIEWER_LANGUAGE) \
        $(abspath $(DEMO))/histview.png
run: setup
	@$(call configure-windows,$(WINTEST),$(WINTEST_ARCH))
	@$(call with-wine-stopped,$(build-and-show))

# The stripped deliverables of the 32-bit build with a short text for Windows users, as one zip, and
# the setup program of the same files beside it (where makensis is installed).
dist: deliverables
	@scripts/make-dist $(WIN) $(BUILD)/dist

# Figures only, never a pass/fail: an optimised native build without sanitizers, and the viewer
# under Wine.
bench: setup
	@cmake -S . -B $(BUILD)/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMETRA_SANITIZE=OFF >/dev/null
	@cmake --build $(BUILD)/bench -j $(JOBS) --target history_bench snmpprobe
	@$(call configure-windows,$(WINTEST),$(WINTEST_ARCH))
	@cmake --build $(WINTEST) -j $(JOBS) --target histview viewer_bench
	@cd $(BUILD)/bench && bench/history_bench
	@PYTHONPATH=tests/e2e/agents python3 bench/bench_walk.py $(abspath $(BUILD))/bench/rtprobe/snmpprobe
	@$(call with-wine-stopped,bench/bench-viewer $(WINTEST))

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
