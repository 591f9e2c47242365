# Entry points: `make run` (the program on a generated sample directory), `make test` and
# `make package` (the Debian package).
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo
# The sanitizer build: everything, the Qt half included, under AddressSanitizer and UBSan.
ASAN_ARGS  ?= -DCMAKE_BUILD_TYPE=Debug -DTELVIA_SANITIZE=ON
# Leaks of third-party libraries that LeakSanitizer cannot tell from ours (see the file).
LSAN_OPTIONS_FILE := $(CURDIR)/tests/sanitizer/lsan.supp

.PHONY: all deps configure build test test-asan run bench package package-check format clean

all: build

deps:
	@scripts/deps.sh

# Configures again whenever the arguments differ from the ones the folder was made with.
configure: deps
	@scripts/configure.sh $(BUILD) $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test-asan: deps
	@scripts/configure.sh $(ASAN_BUILD) $(ASAN_ARGS) $(EXTRA_ASAN_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen \
	    LSAN_OPTIONS=suppressions=$(LSAN_OPTIONS_FILE):print_suppressions=0 \
	    ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 \
	    ctest -j $(JOBS) --output-on-failure

test: build
	cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest -j $(JOBS) --output-on-failure
	$(MAKE) test-asan

run: build
	@scripts/run.sh $(BUILD)

bench: build
	@scripts/bench.sh $(BUILD)

# $(BUILD)/telvia_<version>_<arch>.deb; package-check unpacks it and starts it (CI).
package: build
	cmake --build $(BUILD) --target package

package-check: build
	@scripts/package-check.sh $(BUILD)

format:
	git ls-files '*.cpp' '*.h' | xargs clang-format -i

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
