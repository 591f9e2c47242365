# Entry points: `make run` (the program on a generated sample directory), `make test` and
# `make package` (the Debian package).
BUILD      ?= build
ASAN_BUILD ?= build-asan
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

.PHONY: all deps configure build test test-asan run bench package package-check format clean

all: build

deps:
	@scripts/deps.sh

configure: deps
	@[ -f $(BUILD)/build.ninja ] || cmake -S . -B $(BUILD) -G Ninja $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

# The engine again under AddressSanitizer/UBSan, without the Qt half to keep the run short.
test-asan: deps
	@[ -f $(ASAN_BUILD)/build.ninja ] || cmake -S . -B $(ASAN_BUILD) -G Ninja \
	    -DCMAKE_BUILD_TYPE=Debug -DTELVIA_SANITIZE=ON -DTELVIA_BUILD_GUI=OFF
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest -j $(JOBS) --output-on-failure

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
