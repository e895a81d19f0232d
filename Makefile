# One command each: `make demo` runs the main job on the bundled example,
# `make test` builds and runs every test. Both install what is missing first.
BUILD ?= build
CLI := $(BUILD)/bin/belvaron-cli

.PHONY: all bootstrap configure build demo test test-windows windows bench screenshots format \
	format-check fuzz clean

all: build

bootstrap:
	@scripts/bootstrap

configure: bootstrap
	@cmake --preset dev >/dev/null

build: configure
	@cmake --build $(BUILD)

demo: build
	@scripts/demo $(CLI)

test: build
	@ctest --test-dir $(BUILD) --output-on-failure -j2

# The Windows build (MinGW-w64 cross compiler, tests under Wine); see
# docs/windows.md. Both install what is missing first.
test-windows:
	@scripts/test-windows

windows:
	@scripts/package-windows

# Every libFuzzer harness for FUZZ_SECONDS each (default 60).
FUZZ_SECONDS ?= 60
fuzz:
	@FUZZ_SECONDS=$(FUZZ_SECONDS) scripts/fuzz

format:
	@scripts/format

format-check:
	@scripts/format --check

# Times the command line on generated journals (never part of `make test`);
# see docs/benchmarks.md.
bench:
	@scripts/bench

screenshots: build
	@scripts/screenshots $(BUILD) docs

clean:
	rm -rf $(BUILD) build-fuzz build-windows dist out
