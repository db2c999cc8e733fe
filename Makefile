# Plain build in build/ (build/meteo-aprs is always the ordinary program),
# sanitizer build in build-asan/, Windows cross build in build-windows/,
# fuzz targets (clang) in build-fuzz/, benchmarks in build-bench/, the soak's
# optimised build in build-release/.
BUILD         := build
ASAN_BUILD    := build-asan
WIN_BUILD     := build-windows
FUZZ_BUILD    := build-fuzz
BENCH_BUILD   := build-bench
RELEASE_BUILD := build-release
PACKAGE_BUILD := build-package
FUZZ_SECONDS       ?= 60
FUZZ_SMOKE_SECONDS ?= 3
SOAK_TICKS         ?= 110000
JOBS          ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_GEN     := -G Ninja

.PHONY: crash-test build run demo test test-plain test-asan test-fuzz-smoke test-windows test-fresh fuzz fuzz-build bench soak clean \
	windows-qt windows-package test-windows-program

build:
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# Without a graphical display the program still runs, headless.
HEADLESS_IF_NEEDED = if [ -z "$${DISPLAY:-}" ] && [ -z "$${WAYLAND_DISPLAY:-}" ] && [ -z "$${QT_QPA_PLATFORM:-}" ]; then \
	  echo "Nessuno schermo grafico (DISPLAY non impostato): il programma parte senza finestra visibile."; \
	  export QT_QPA_PLATFORM=offscreen; fi;

run: build
	@$(HEADLESS_IF_NEEDED) ./$(BUILD)/meteo-aprs

# The program in a working folder of its own, reading a copy of the sample
# station in demo/station and writing into build/demo/output. The copy is
# new at every start: the sample never changes, and a currdat.lst that old
# reads as a Heavy Weather that stopped.
DEMO := $(BUILD)/demo
demo: build
	@mkdir -p $(DEMO)/output $(DEMO)/station
	@cp demo/station/currdat.lst $(DEMO)/station/
	@printf '1\r\n1\r\n%s\r\n%s\r\n' "$(CURDIR)/$(DEMO)/station" "$(CURDIR)/$(DEMO)/output" > $(DEMO)/config.kwt
	@echo "Demo: config.kwt in $(DEMO), file scritti in $(DEMO)/output"
	@cd $(DEMO) && $(HEADLESS_IF_NEEDED) $(CURDIR)/$(BUILD)/meteo-aprs

test: test-plain test-asan test-fuzz-smoke

# The shell scripts are linted once, beside the plain suite.
test-plain: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) --no-tests=error --output-on-failure -j $(JOBS)
	shellcheck ./*.sh .ci/run scripts/*.sh bench/*.sh fuzz/*.sh

test-asan:
	@cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DMETEO_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --no-tests=error --output-on-failure -j $(JOBS)

# A few seconds of each fuzz target, so that they keep building and the
# seeds keep passing; `make fuzz` is the real run.
test-fuzz-smoke: fuzz-build
	fuzz/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SMOKE_SECONDS) --smoke

# The real program killed at every file operation of three ticks (strace's
# fault injection), started again, its files checked; about a minute.
crash-test: build
	scripts/crash-test.sh $(BUILD)

# The logic and its tests built for 64-bit Windows and run under Wine.
test-windows:
	@scripts/install-deps.sh windows
	@scripts/test-windows.sh $(WIN_BUILD) $(JOBS)

# The static Qt for Windows, built once into ~/.cache/meteo-aprs (tens of
# minutes on two cores), then reused.
windows-qt:
	@scripts/windows-qt.sh

# meteo-aprs.exe, its installer and zip, the source zip and the .deb, in
# build-package/.
windows-package:
	@scripts/windows-package.sh $(PACKAGE_BUILD)

# The installer under Wine on Xvfb: install, run, compare with Linux,
# first start, uninstall; screenshots in build-package/wine-test/shots.
test-windows-program:
	@scripts/test-windows-program.sh $(PACKAGE_BUILD)

# The README's commands on a minimal Debian 12 in chroots (as root; see
# scripts/test-fresh.sh).
test-fresh:
	@scripts/test-fresh.sh

fuzz-build:
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DMETEO_FUZZ=ON -DMETEO_BUILD_GUI=OFF -DMETEO_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)

# FUZZ_SECONDS per target (60 by default): make fuzz FUZZ_SECONDS=5
fuzz: fuzz-build
	fuzz/run-fuzzers.sh $(FUZZ_BUILD) $(FUZZ_SECONDS)

# Release build of the benchmarks, then the whole-program figures.
bench:
	@cmake -S . -B $(BENCH_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DMETEO_BUILD_BENCH=ON \
	  -DMETEO_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(BENCH_BUILD) -j $(JOBS)
	bench/run-bench.sh $(BENCH_BUILD)/bench/meteo_bench
	bench/measure-program.sh $(BENCH_BUILD)/meteo-aprs

# The real cycle over SOAK_TICKS ticks of a simulated clock (110,000 ticks are
# 76 days), checking every file after every tick; prints the figures. On a
# disk it takes minutes: each rewrite of the day's store is flushed.
soak:
	@cmake -S . -B $(RELEASE_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DMETEO_BUILD_GUI=OFF -DMETEO_BUILD_TESTS=OFF >/dev/null
	@cmake --build $(RELEASE_BUILD) -j $(JOBS) --target soak
	./$(RELEASE_BUILD)/soak/soak $(SOAK_TICKS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WIN_BUILD) $(FUZZ_BUILD) $(BENCH_BUILD) $(RELEASE_BUILD) $(PACKAGE_BUILD)
