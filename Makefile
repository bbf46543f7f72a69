# The two commands of the README, and a few more for developers.
#   make run    installs what is missing, builds, starts Vantu
#   make test   installs what is missing, builds, runs every test

BUILD_DIR := build
PRESET    := default

.PHONY: all deps build run test bench asan format clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	@cmake --preset $(PRESET) >/dev/null
	@cmake --build --preset $(PRESET)

run: build
	$(BUILD_DIR)/bin/vantu-render -o vantu.png
	@echo "wrote vantu.png"

test: build
	@ctest --preset $(PRESET)

bench: build
	$(BUILD_DIR)/bin/vantu-bench

# Everything built and tested with AddressSanitizer and UndefinedBehaviorSanitizer.
asan:
	@$(MAKE) --no-print-directory test PRESET=asan BUILD_DIR=build-asan

format:
	clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	rm -rf build build-asan
