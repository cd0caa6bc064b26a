# make run   - set up what running needs, build the game and start it from build/game/
# make test  - set up what the tests need too, build everything and run every test
#              (with a sanitizer build of the unit tests and fuzz targets)
# make bench - run the benchmarks
BUILD       := build
ASAN_BUILD  := build-asan
JOBS        ?= $(shell nproc)
# The game's UDP port 240 is privileged: the built binary gets the capability
# to bind it, so a normal user can host and join (through sudo when not root).
SUDO        := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: setup setup-test configure configure-test configure-asan build build-test run test bench clean

setup:
	@bash scripts/setup.sh run

setup-test:
	@bash scripts/setup.sh test

# The game alone needs neither GoogleTest nor Google Benchmark: a first
# configure leaves them out, and the test targets switch them on.
configure: setup
	@test -f $(BUILD)/build.ninja || cmake -S . -B $(BUILD) -G Ninja -DVRAX_TESTS=OFF -DVRAX_BENCH=OFF

configure-test: setup-test
	cmake -S . -B $(BUILD) -G Ninja -DVRAX_TESTS=ON -DVRAX_BENCH=ON

# The sanitizer build makes no content of its own: its tests and fuzz seeds
# read the game folder the normal build assembled.
configure-asan:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DVRAX_SANITIZE=ON -DVRAX_FUZZ=ON -DVRAX_BENCH=OFF \
	  -DVRAX_CONTENT_FROM=$(CURDIR)/$(BUILD)/game

build: configure
	cmake --build $(BUILD) -j $(JOBS) --target game
	$(SUDO) setcap cap_net_bind_service=+ep $(BUILD)/game/Vrax

build-test: configure-test
	cmake --build $(BUILD) -j $(JOBS)
	$(SUDO) setcap cap_net_bind_service=+ep $(BUILD)/game/Vrax

run: build
	bash scripts/run-game.sh

test: build-test configure-asan
	cmake --build $(ASAN_BUILD) -j $(JOBS) --target vrax_unit_fuzz
	cd $(BUILD) && ctest --output-on-failure -j 2
	cd $(ASAN_BUILD) && ctest --output-on-failure -j 2 -L 'unit|fuzz'

bench: build-test
	$(BUILD)/bench/vrax_bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
