# The README's commands. Everything builds with CMake; these targets only chain the steps.
BUILD      ?= build
SAN_BUILD  ?= build-sanitize
FUZZ_BUILD ?= build-fuzz
# How long `make fuzz` runs each fuzz target.
FUZZ_SECONDS ?= 20
JOBS       ?= $(shell nproc)
# Arguments for the program, e.g. make run ARGS="--data-dir /tmp/club"
ARGS       ?=

SAN_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1 \
          LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
          UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

.PHONY: all deps build run test test-sanitize test-reliability fuzz fuzz-corpus fuzz-build bench package icons screenshots clean

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

FUZZERS = fuzz_coordinates fuzz_clock_time fuzz_arrival_record fuzz_bench_json fuzz_settings_files fuzz_spreadsheet
FUZZ_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1 \
           LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
           UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer).
fuzz-build: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVEL_FUZZ=ON \
	  -DCORVEL_BUILD_TESTS=OFF -DCORVEL_WERROR=OFF
	cmake --build $(FUZZ_BUILD) -j $(JOBS) --target corvel_fuzzers

# Runs each fuzz target for FUZZ_SECONDS on its seed corpus (fuzz/corpus/<target>), looking for new
# faults. New inputs are kept in $(FUZZ_BUILD)/corpus, an input that fails in $(FUZZ_BUILD)/crashes;
# copy such an input into fuzz/corpus/<target> once its fault is mended.
fuzz: fuzz-build
	@set -e; mkdir -p $(FUZZ_BUILD)/crashes; for f in $(FUZZERS); do \
	  echo "=== $$f"; mkdir -p $(FUZZ_BUILD)/corpus/$$f; \
	  $(FUZZ_ENV) $(FUZZ_BUILD)/fuzz/$$f -max_total_time=$(FUZZ_SECONDS) -timeout=10 -rss_limit_mb=4096 \
	    -artifact_prefix=$(FUZZ_BUILD)/crashes/$$f- -close_fd_mask=1 -print_final_stats=1 $(FUZZ_BUILD)/corpus/$$f fuzz/corpus/$$f; \
	done

# Runs each fuzz target once over every input of its seed corpus, the faults found before among
# them: the same inputs every time, so a failure here is a fault of the change at hand.
fuzz-corpus: fuzz-build
	@set -e; for f in $(FUZZERS); do \
	  echo "=== $$f"; \
	  $(FUZZ_ENV) $(FUZZ_BUILD)/fuzz/$$f -runs=0 -timeout=10 -rss_limit_mb=4096 -close_fd_mask=1 fuzz/corpus/$$f; \
	done

bench: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCORVEL_BUILD_BENCHMARKS=ON
	cmake --build $(BUILD) -j $(JOBS)
	benchmarks/run-benchmarks $(BUILD) benchmarks/RESULTS.md

# The Debian package corvel-club_<version>_<arch>.deb in $(BUILD), checked by lintian.
package: build
	cd $(BUILD) && cpack -G DEB
	lintian --fail-on error $(BUILD)/corvel-club_*.deb

# Renders the program's icon for the hicolor theme again after its drawing changed (needs librsvg2-bin).
icons:
	for size in 48 256; do \
	  rsvg-convert -w $$size -h $$size src/app/resources/corvel-club.svg -o packaging/icons/corvel-club-$$size.png; \
	done

# Renders every page of the demo club offscreen to docs/screenshots/*.png (the README's pictures).
screenshots: build
	QT_QPA_PLATFORM=offscreen $(BUILD)/tools/screenshots/corvel-screenshots docs/screenshots

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(FUZZ_BUILD)
