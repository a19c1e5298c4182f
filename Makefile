# Two entry points for a fresh Debian 12 machine:
#   make run   installs what is needed, builds a Release and starts Verdan
#   make test  installs what is needed, builds and runs every test
#   make package  builds the Debian package verdan_VERSION_amd64.deb in the build folder
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test package clean

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

package: build
	cd $(BUILD) && cpack -G DEB
	@ls $(BUILD)/verdan_*.deb

clean:
	rm -rf $(BUILD)
