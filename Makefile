# SPDX-License-Identifier: LGPL-2.1-or-later
# make demo   build everything and cut the sample plot on the simulated machine
# make test   build everything and run every test
BUILD ?= build
JOBS  ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps configure build test demo sanitize fuzz clean

deps:
	@bash scripts/deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS) >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

test: build
	@cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

demo: build
	@$(BUILD)/bin/vxcut demo

# The whole suite under ASan + UBSan + LeakSanitizer, in build-sanitize/.
sanitize: deps
	@bash scripts/sanitize.sh

# Every fuzz target for FUZZ_SECONDS each, in build-fuzz/.
FUZZ_SECONDS ?= 60
fuzz: deps
	@bash fuzz/run.sh $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD)
