# Entry points for a newcomer. `make test` installs what is missing, configures, builds and runs the tests.
BUILD ?= build
SANITIZE_BUILD ?= build-sanitize
# Warnings fail the build here and in CI; `make test WERROR=OFF` for a compiler that warns differently.
WERROR ?= ON

.PHONY: all deps configure build test demo sanitize bench clean

all: build

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVA_WERROR=$(WERROR)

build: configure
	cmake --build $(BUILD)

test: build
	cd $(BUILD) && ctest --output-on-failure -j2

demo: build
	MORVA_CLI=./$(BUILD)/src/morva-cli ./scripts/demo.sh

sanitize: deps
	cmake -S . -B $(SANITIZE_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DMORVA_SANITIZE=ON -DMORVA_BENCH=OFF -DMORVA_WERROR=$(WERROR)
	cmake --build $(SANITIZE_BUILD)
	cd $(SANITIZE_BUILD) && ctest --output-on-failure -j2

bench: configure
	cmake --build $(BUILD) --config Release
	@echo "benchmarks are in $(BUILD)/bench/"

clean:
	rm -rf $(BUILD) $(SANITIZE_BUILD)
