# SPDX-License-Identifier: LGPL-2.1-or-later
# make demo   build everything and cut the sample plot on the simulated machine
# make test   build everything and run every test
# make docs   the host developers' reference (Doxygen) in $(BUILD)/docs/html
BUILD ?= build
JOBS  ?= $(shell nproc)
CMAKE_FLAGS ?=

.PHONY: deps configure build test demo docs sanitize fuzz clean

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

# The host reference (Doxygen) from the installed headers: $(BUILD)/docs/html.
docs:
	@bash scripts/deps.sh docs
	@mkdir -p $(BUILD)/docs
	@VX_DOCS_OUT=$(BUILD)/docs VX_VERSION=$$(sed -n 's/^project(vxdevice VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt) \
		doxygen docs/Doxyfile
	@echo "$(BUILD)/docs/html/index.html"

# The whole suite under ASan + UBSan + LeakSanitizer, in build-sanitize/.
sanitize: deps
	@bash scripts/sanitize.sh

# Every fuzz target for FUZZ_SECONDS each, in build-fuzz/.
FUZZ_SECONDS ?= 60
fuzz: deps
	@bash fuzz/run.sh $(FUZZ_SECONDS)

clean:
	rm -rf $(BUILD)
