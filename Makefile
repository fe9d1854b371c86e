# The README's commands. Everything builds with CMake; these targets only chain the steps.
BUILD      ?= build
SAN_BUILD  ?= build-sanitize
JOBS       ?= $(shell nproc)
# Arguments for the program, e.g. make run ARGS="--data-dir /tmp/club"
ARGS       ?=

SAN_ENV = ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:abort_on_error=0:detect_stack_use_after_return=1 \
          LSAN_OPTIONS=suppressions=$(CURDIR)/tests/sanitizers/lsan.supp:print_suppressions=0 \
          UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

.PHONY: all deps build run test test-sanitize bench package icons clean

all: build

deps:
	scripts/install-deps

build: deps
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/src/app/corvel-club $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCORVEL_SANITIZE=ON
	cmake --build $(SAN_BUILD) -j $(JOBS)
	cd $(SAN_BUILD) && $(SAN_ENV) ctest --output-on-failure -j $(JOBS)

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

clean:
	rm -rf $(BUILD) $(SAN_BUILD)
