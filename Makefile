# SPDX-FileCopyrightText: 2026 The Vantu developers
# SPDX-License-Identifier: MIT
# The two commands of the README, and a few more for developers.
#   make run    installs what is missing, builds, starts Vantu
#   make test   installs what is missing, builds, runs every test

BUILD_DIR := build
PRESET    := default

.PHONY: all deps build run test bench asan fuzz format clean windows windows-test

all: build

deps:
	@bash scripts/install-deps.sh

# Configure and build only; `make deps` (and so `make run` and `make test`) installs what is
# missing first.
build:
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build --preset $(PRESET)

run: deps
	@$(MAKE) --no-print-directory build
	$(BUILD_DIR)/bin/vantu

test: deps
	@$(MAKE) --no-print-directory build
	@ctest --preset $(PRESET)

bench: build
	$(BUILD_DIR)/bin/vantu-bench

# Everything built and tested with AddressSanitizer and UndefinedBehaviorSanitizer.
asan:
	@$(MAKE) --no-print-directory test PRESET=asan BUILD_DIR=build-asan

# Each libFuzzer target for FUZZ_SECONDS, starting from the seeds in tests/fuzz/corpus; what the
# fuzzers find stays in build-fuzz/corpus.
FUZZ_SECONDS ?= 60
FUZZ_TARGETS := numeric_prefix prepare_drawing draw
fuzz: deps
	@cmake --preset fuzz >/dev/null
	@cmake --build --preset fuzz
	@for t in $(FUZZ_TARGETS); do \
	    mkdir -p build-fuzz/corpus/$$t build-fuzz/crashes; \
	    echo "fuzz_$$t: $(FUZZ_SECONDS) s"; \
	    build-fuzz/bin/fuzz_$$t -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	        -artifact_prefix=build-fuzz/crashes/$$t- \
	        build-fuzz/corpus/$$t tests/fuzz/corpus/$$t 2>build-fuzz/fuzz_$$t.log \
	        || { tail -40 build-fuzz/fuzz_$$t.log; exit 1; }; \
	    grep -E "stat::number_of_executed_units|Done" build-fuzz/fuzz_$$t.log | tail -2; \
	done

# vantu.exe and vantu-render.exe for 64-bit Windows, cross-built with mingw-w64 (the libraries
# once, from Debian's sources), with the installer and a zip; checked under wine against the
# Linux build.
windows:
	@bash scripts/build-windows.sh

windows-test: windows build
	@bash scripts/test-windows.sh build-windows/bin $(BUILD_DIR)/bin

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-ci build-asan build-fuzz build-windows-cli
