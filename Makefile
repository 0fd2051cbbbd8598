# The two commands of the README: `make run` and `make test`. Everything else is a step of them.
BUILD  ?= build
NATIVE := $(BUILD)/native
WIN    := $(BUILD)/win
JOBS   ?= $(shell nproc)
DEMO   := $(BUILD)/demo

.PHONY: all setup native win test test-native test-win run bench format clean

all: native win

setup:
	@bash scripts/setup

native: setup
	@cmake -S . -B $(NATIVE) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMETRA_SANITIZE=ON >/dev/null
	@cmake --build $(NATIVE) -j $(JOBS)

win: setup
	@cmake -S . -B $(WIN) -G Ninja -DCMAKE_BUILD_TYPE=Release \
	    -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/toolchain-mingw-i686.cmake >/dev/null
	@cmake --build $(WIN) -j $(JOBS)

test-native: native
	ctest --test-dir $(NATIVE) --output-on-failure -j $(JOBS)

test-win: win
	ctest --test-dir $(WIN) --output-on-failure -j $(JOBS)

test: test-native test-win

# The demo history, shown by the Windows build of histdump under Wine.
run: native win
	@mkdir -p $(DEMO)/data
	@$(NATIVE)/tools/demohist $(DEMO)/data/volume.hst
	@$(WIN)/wine-run $(WIN)/tools/histdump.exe --today 2026-12-08 $(DEMO)/data/volume.hst

# Figures only, never a pass/fail: an optimised native build without sanitizers.
bench: setup
	@cmake -S . -B $(BUILD)/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DLUMETRA_SANITIZE=OFF >/dev/null
	@cmake --build $(BUILD)/bench -j $(JOBS) --target history_bench
	@$(BUILD)/bench/tools/history_bench

format:
	@git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD)
