# Vexor: two commands set up a fresh machine.
#   make demo   builds Vexor, runs it on the bundled sample logs and, with a display, shows the
#               desktop program on the server log
#   make test   builds Vexor and runs every test
#   make bench  builds Vexor and runs the benchmark at the limits (docs/PERFORMANCE.md)
#   make fuzz   builds the fuzz targets with clang and runs each a while (docs/ROBUSTNESS.md)
#   make install   installs under PREFIX (default /usr/local); DESTDIR stages the tree elsewhere
#   make package   builds the Debian package $(BUILD)/vexor_<version>_amd64.deb
BUILD     ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
WERROR    ?= OFF
JOBS      ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_FLAGS ?=
PREFIX    ?= /usr/local
DESTDIR   ?=
# What building and checking the Debian package needs beyond the build.
PACKAGE_DEPS = dpkg-dev lintian

.PHONY: deps configure build test asan-test tsan-test demo bench fuzz install package clean

deps:
	@scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DVEXOR_WERROR=$(WERROR) -DCMAKE_INSTALL_PREFIX=$(PREFIX) $(CMAKE_FLAGS)

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

# The operations' tests (a load on a worker thread, cancelled from another) and the log passes
# (each reads and cuts its lines on a thread of its own) under ThreadSanitizer. This
# ThreadSanitizer may fail to map its shadow memory under the address randomisation of recent
# kernels: the tests run with it turned off where the machine allows (setarch -R), and are
# listed when they run, not at build time.
tsan-test: deps
	cmake -S . -B $(TSAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVEXOR_TSAN=ON -DVEXOR_WERROR=$(WERROR) \
	  -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST
	cmake --build $(TSAN_BUILD) -j $(JOBS) --target vexor_tests
	norandom=$$(setarch $$(uname -m) -R true 2>/dev/null && echo setarch $$(uname -m) -R); \
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 $$norandom \
	  $(TSAN_BUILD)/tests/vexor_tests --gtest_filter='DocumentOperations*:ReadAhead*:ServerLog*:ClientLog*:SampleLogs*:HtmlReport*:FaultInjection*:PageQueue*'

# The main job on the bundled sample logs: the server log's statistics as an HTML report and a
# CSV file under demo/, and the client console log's report under demo/client/. With a display,
# the desktop program then shows the server log's statistics (scripts/demo-gui.sh).
DEMO ?= demo
demo: build
	@mkdir -p $(DEMO)/config $(DEMO)/client/config
	@# The report pages show config/Logo.jpg: ours, unless a logo of the user's own is there.
	@for dir in $(DEMO) $(DEMO)/client; do \
	  [ -e $$dir/config/Logo.jpg ] || cp resources/pictures/Logo.jpg $$dir/config/Logo.jpg; done
	$(BUILD)/src/vexor -C $(DEMO) --csv $(DEMO)/players.csv --game-lines samples/server-ffa-ctf.log
	$(BUILD)/src/vexor -C $(DEMO)/client samples/client-console.log
	@echo
	@echo "Open $(CURDIR)/$(DEMO)/html/games.htm in a web browser for the server log's report,"
	@echo "$(CURDIR)/$(DEMO)/client/html/games.htm for the client log's, and"
	@echo "$(DEMO)/players.csv in a spreadsheet."
	@if [ -n "$$DISPLAY$$WAYLAND_DISPLAY" ]; then \
	  echo; echo "Starting the desktop program: scripts/demo-gui.sh $(BUILD) $(DEMO)"; \
	  scripts/demo-gui.sh $(BUILD) $(DEMO); \
	else \
	  echo; echo "No display here. On a desktop, start the desktop program on the same log with"; \
	  echo "  scripts/demo-gui.sh $(BUILD) $(DEMO)"; \
	  echo "(it runs $(BUILD)/src/vexor-gui -C $(DEMO) --screen logged-data samples/server-ffa-ctf.log)."; \
	fi

# The benchmark at the limits (docs/PERFORMANCE.md): generates the logs, runs every scenario a
# few times and prints time, peak memory and the ratio to reading the input. Needs about 5 GB
# under $(BUILD)/bench-data and several minutes.
bench: build
	@scripts/install-deps.sh time
	bench/run.sh $(BUILD)

# Every fuzz target for FUZZ_SECONDS seconds, two at a time (docs/ROBUSTNESS.md). Fails when
# one crashed, hung, leaked or broke a rule; the input is then under build-fuzz/artifacts/.
FUZZ_SECONDS ?= 180
fuzz: deps
	scripts/fuzz.sh $(FUZZ_SECONDS)

# The programs, man pages, desktop entry, icons, AppStream metadata, user guide and logo under
# PREFIX; "make install DESTDIR=/tmp/stage" stages the same tree under /tmp/stage.
install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD) --prefix $(PREFIX)

# The Debian package (CPack, dependencies computed by dpkg-shlibdeps) under $(BUILD).
package: build
	@scripts/install-deps.sh $(PACKAGE_DEPS)
	cd $(BUILD) && cpack
	@ls $(BUILD)/vexor_*_amd64.deb

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) build-fuzz
