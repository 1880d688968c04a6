# Quick start: `make demo` runs Ostrel on a bundled example, `make test` runs every test.
BUILD ?= build
JOBS ?= 2
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps build demo test package gui bench fuzz clean

all: build

deps:
	bash scripts/install-deps.sh

build: deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS)
	cmake --build $(BUILD) -j $(JOBS)

DEMO_OUT ?= out/demo
demo: build
	mkdir -p $(DEMO_OUT)
	./$(BUILD)/src/cli/ostrel-cli run examples/snub_cube.txt -o $(DEMO_OUT)
	@echo "The output of examples/snub_cube.txt is in $(DEMO_OUT)/"

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The Debian package ostrel_VERSION_ARCH.deb in $(BUILD), checked by running its ostrel-cli.
package: build
	bash scripts/check-package.sh $(BUILD)

# Builds the Qt 6 desktop program and starts it (its settings: ~/.config/ostrel/ostrel.ini).
gui: deps
	cmake -S . -B $(BUILD) -G Ninja $(CMAKE_FLAGS) -DOSTREL_BUILD_GUI=ON
	cmake --build $(BUILD) -j $(JOBS) --target ostrel
	./$(BUILD)/src/gui/ostrel

# Google Benchmark figures of the relaxation (Release build).
bench: deps
	cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DOSTREL_BUILD_BENCH=ON -DOSTREL_BUILD_TESTS=OFF
	cmake --build build-bench -j $(JOBS) --target relax_bench view_bench search_bench
	./build-bench/bench/relax_bench
	./build-bench/bench/view_bench
	./build-bench/bench/search_bench

# Runs each fuzz target for FUZZ_SECONDS on its corpus (clang with libFuzzer). The whole-run
# target takes small inputs only, and the bad inputs of the tests as seeds too.
FUZZ_SECONDS ?= 60
fuzz:
	OSTREL_WITH_FUZZ=1 bash scripts/install-deps.sh
	CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DOSTREL_BUILD_FUZZ=ON -DOSTREL_BUILD_TESTS=OFF -DOSTREL_BUILD_GUI=OFF
	cmake --build build-fuzz -j $(JOBS) --target parser_fuzz settings_file_fuzz run_fuzz
	mkdir -p build-fuzz/corpus/parser build-fuzz/corpus/settings_file build-fuzz/corpus/run
	./build-fuzz/fuzz/parser_fuzz -max_total_time=$(FUZZ_SECONDS) build-fuzz/corpus/parser fuzz/corpus/parser
	./build-fuzz/fuzz/settings_file_fuzz -max_total_time=$(FUZZ_SECONDS) build-fuzz/corpus/settings_file fuzz/corpus/settings_file
	./build-fuzz/fuzz/run_fuzz -max_total_time=$(FUZZ_SECONDS) -max_len=1024 -timeout=60 \
	  build-fuzz/corpus/run fuzz/corpus/parser tests/data/bad

clean:
	rm -rf $(BUILD) build-fuzz build-bench out
