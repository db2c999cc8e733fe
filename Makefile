# Plain build in build/ (build/meteo-aprs is always the ordinary program),
# sanitizer build in build-asan/, Windows cross build in build-windows/,
# optimised build of the soak in build-release/.
BUILD         := build
ASAN_BUILD    := build-asan
WIN_BUILD     := build-windows
RELEASE_BUILD := build-release
SOAK_TICKS    ?= 110000
JOBS          ?= $(shell nproc 2>/dev/null || echo 2)
CMAKE_GEN     := -G Ninja

.PHONY: build run demo test test-plain test-asan test-windows soak clean

build:
	@cmake -S . -B $(BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# Without a graphical display the program still runs, headless.
HEADLESS_IF_NEEDED = if [ -z "$${DISPLAY:-}" ] && [ -z "$${WAYLAND_DISPLAY:-}" ] && [ -z "$${QT_QPA_PLATFORM:-}" ]; then \
	  echo "Nessuno schermo grafico (DISPLAY non impostato): il programma parte senza finestra visibile."; \
	  export QT_QPA_PLATFORM=offscreen; fi;

run: build
	@$(HEADLESS_IF_NEEDED) ./$(BUILD)/meteo-aprs

# The program in a working folder of its own, reading the sample station in
# demo/station and writing into build/demo/output.
DEMO := $(BUILD)/demo
demo: build
	@mkdir -p $(DEMO)/output
	@printf '1\r\n1\r\n%s\r\n%s\r\n' "$(CURDIR)/demo/station" "$(CURDIR)/$(DEMO)/output" > $(DEMO)/config.kwt
	@echo "Demo: config.kwt in $(DEMO), file scritti in $(DEMO)/output"
	@cd $(DEMO) && $(HEADLESS_IF_NEEDED) $(CURDIR)/$(BUILD)/meteo-aprs

test: test-plain test-asan

test-plain: build
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

test-asan:
	@cmake -S . -B $(ASAN_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Debug -DMETEO_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS)

# The real cycle over SOAK_TICKS ticks of a simulated clock (110,000 ticks are
# 76 days), checking every file after every tick; prints the figures. On a
# disk it takes minutes: each rewrite of the day's store is flushed.
soak:
	@cmake -S . -B $(RELEASE_BUILD) $(CMAKE_GEN) -DCMAKE_BUILD_TYPE=Release -DMETEO_BUILD_GUI=OFF >/dev/null
	@cmake --build $(RELEASE_BUILD) -j $(JOBS) --target soak
	./$(RELEASE_BUILD)/tests/soak $(SOAK_TICKS)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WIN_BUILD) $(RELEASE_BUILD)

# The logic and its tests built for 64-bit Windows and run under Wine.
test-windows:
	@scripts/install-deps.sh windows
	@scripts/test-windows.sh $(WIN_BUILD) $(JOBS)

