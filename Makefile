# The README's commands. Everything builds with CMake; these targets only chain the steps.
BUILD      ?= build
SAN_BUILD  ?= build-sanitize
JOBS       ?= $(shell nproc)
# Arguments for the program, e.g. make run ARGS="--data-dir /tmp/club"
ARGS       ?=

SAN_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1 \
          LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
          UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

.PHONY: all deps build run test test-sanitize test-reliability fuzz bench clean

all: build

deps:
	scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/app/corvel-club $(ARGS)

# The long crash-consistency run (label "reliability") is left to test-reliability.
test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS) -LE reliability

test-sanitize: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCORVEL_SANITIZE=ON
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && $(SAN_ENV) ctest --output-on-failure -j $(JOBS) -LE reliability

# Kills the program's writing work at many random moments (a few minutes).
test-reliability: build
	cd $(BUILD) && ctest --output-on-failure -L reliability

bench: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVEL_BUILD_BENCHMARKS=ON
	cmake --build $(BUILD) -j $(JOBS)
	@for b in $(BUILD)/benchmarks/*_bench; do [ -x "$$b" ] && "$$b"; done

clean:
	rm -rf $(BUILD) $(SAN_BUILD)
