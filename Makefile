# Vexor: two commands set up a fresh machine.
#   make demo   builds Vexor and runs it on the bundled sample logs
#   make test   builds Vexor and runs every test
BUILD     ?= build
ASAN_BUILD ?= build-asan
WERROR    ?= OFF
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=

.PHONY: deps configure build test asan-test demo clean

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DVEXOR_WERROR=$(WERROR) $(CMAKE_FLAGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# The whole suite under AddressSanitizer and UndefinedBehaviorSanitizer.
asan-test: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVEXOR_SANITIZE=ON -DVEXOR_WERROR=$(WERROR)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# Until the command line exists, the demo builds Vexor and runs the server-log tests, which load
# small logs written in the tests.
demo: build
	$(BUILD)/tests/vexor_tests --gtest_filter='ServerLog*:ServerKills*'

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
