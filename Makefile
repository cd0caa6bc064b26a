# make run   - set up, build and start the game from build/game/
# make test  - set up, build and run every test (with a sanitizer build of the unit tests)
# make bench - run the benchmarks
BUILD       := build
ASAN_BUILD  := build-asan
JOBS        ?= $(shell nproc)
# The game's UDP port 240 is privileged: the built binary gets the capability
# to bind it, so a normal user can host and join (through sudo when not root).
SUDO        := $(if $(filter 0,$(shell id -u)),,sudo)

.PHONY: setup build run test bench clean

setup:
	@bash scripts/setup.sh

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja

$(ASAN_BUILD)/build.ninja:
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_C_COMPILER=clang \
	  -DCMAKE_CXX_COMPILER=clang++ -DVRAX_SANITIZE=ON -DVRAX_FUZZ=ON -DVRAX_BENCH=OFF

build: setup $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)
	$(SUDO) setcap cap_net_bind_service=+ep $(BUILD)/game/Vrax

run: build
	bash scripts/run-game.sh

test: build $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(BUILD) && ctest --output-on-failure -j 2
	cd $(ASAN_BUILD) && ctest --output-on-failure -j 2 -L 'unit|fuzz'

bench: build
	$(BUILD)/bench/vrax_bench

clean:
	rm -rf $(BUILD) $(ASAN_BUILD)
