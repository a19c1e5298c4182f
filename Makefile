# Two entry points for a fresh Debian 12 machine:
#   make run   installs what is needed, builds a Release and starts Verdan
#   make test  installs what is needed, builds and runs every test
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test clean

deps:
	./scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	./scripts/run.sh --sample $(BUILD)/sample $(BUILD)/app/verdan $(ARGS)

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf $(BUILD)
