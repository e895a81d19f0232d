# One command each: `make demo` runs the main job on the bundled example,
# `make test` builds and runs every test. Both install what is missing first.
BUILD ?= build
CLI := $(BUILD)/bin/belvaron-cli

.PHONY: all bootstrap configure build demo test bench screenshots format format-check clean

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
	rm -rf $(BUILD) out
