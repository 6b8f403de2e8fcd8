# One entry for both builds: `make run` builds the installer and runs it under
# Wine; `make test` runs every test. Both install what is missing first.

MAKEFLAGS    += --no-print-directory
BUILD        ?= build
# Absolute: Wine refuses a relative WINEPREFIX, and every path below may
# reach Wine.
override BUILD := $(abspath $(BUILD))
HOST_DIR     := $(BUILD)/host
CROSS_DIR    := $(BUILD)/cross
PAYLOAD_SEED ?= 0x2F6B1D93
PRODUCT_DIR  ?= product
JOBS         ?= $(shell nproc)
CTEST_JOBS   ?= 3
CMAKE_ARGS   := -DPAYLOAD_SEED=$(PAYLOAD_SEED) -DCMAKE_BUILD_TYPE=Release
# The payload packer is a host tool that the cross build runs.
PACKER       := $(HOST_DIR)/tools/payload_packer
# The one configure command of each build folder.
CONFIGURE_HOST  := cmake -S . -B $(HOST_DIR) $(CMAKE_ARGS) >/dev/null
CONFIGURE_CROSS := cmake -S . -B $(CROSS_DIR) $(CMAKE_ARGS) -DPAYLOAD_PACKER=$(PACKER) \
                   -DPRODUCT_DIR=$(abspath $(PRODUCT_DIR)) \
                   -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/i686-w64-mingw32.cmake >/dev/null

.PHONY: all deps host packer cross installer run test test-unit test-win32 test-e2e bench gallery clean

all: installer

deps:
	@bash scripts/deps.sh

host: deps
	@$(CONFIGURE_HOST)
	@cmake --build $(HOST_DIR) -j $(JOBS)

packer: deps
	@$(CONFIGURE_HOST)
	@cmake --build $(HOST_DIR) -j $(JOBS) --target payload_packer >/dev/null

cross: packer
	@$(CONFIGURE_CROSS)
	@cmake --build $(CROSS_DIR) -j $(JOBS)

# Builds the installer; its path is the last line printed.
installer: packer
	@$(CONFIGURE_CROSS)
	@cmake --build $(CROSS_DIR) -j $(JOBS) --target installer
	@echo "size: $$(stat -c %s $(CROSS_DIR)/app/PellionSetup.exe) bytes"
	@realpath $(CROSS_DIR)/app/PellionSetup.exe

run: installer
	@cmake --build $(CROSS_DIR) -j $(JOBS) --target driver >/dev/null
	@bash scripts/run-installer.sh $(CROSS_DIR)/app/PellionSetup.exe $(BUILD)/run

# ctest over both builds at once, so the run ends with one summary.
$(BUILD)/CTestTestfile.cmake:
	@mkdir -p $(BUILD)
	@printf 'subdirs("host")\nsubdirs("cross")\n' > $@

test: host cross $(BUILD)/CTestTestfile.cmake
	@scripts/with-display.sh ctest --test-dir $(BUILD) --output-on-failure -j $(CTEST_JOBS) $(CTEST_ARGS)

test-unit: host
	@ctest --test-dir $(HOST_DIR) --output-on-failure $(CTEST_ARGS)

test-win32: cross
	@scripts/with-display.sh ctest --test-dir $(CROSS_DIR) --output-on-failure -j $(CTEST_JOBS) \
	    -R 'wine_templates|win32_|unit_under_wine' $(CTEST_ARGS)

test-e2e: cross
	@scripts/with-display.sh ctest --test-dir $(CROSS_DIR) --output-on-failure -j $(CTEST_JOBS) \
	    -R 'wine_templates|e2e_' $(CTEST_ARGS)

# Screenshots every styled control in its states under Xvfb; the PNG's path is
# the last line printed.
gallery: packer
	@$(CONFIGURE_CROSS)
	@cmake --build $(CROSS_DIR) -j $(JOBS) --target gallery >/dev/null
	@scripts/with-display.sh python3 tests/gallery/shoot.py $(CROSS_DIR)/tests/gallery/gallery.exe \
	    $(BUILD)/gallery

bench: host cross
	@scripts/with-display.sh bash scripts/bench.sh $(BUILD)

clean:
	rm -rf $(BUILD)
