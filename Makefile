# One entry for both builds: `make run` builds the installer and runs it under
# Wine; `make test` runs every test. Both install what is missing first.

MAKEFLAGS    += --no-print-directory
BUILD        ?= build
# Absolute: Wine refuses a relative WINEPREFIX, and every path below may
# reach Wine.
override BUILD := $(abspath $(BUILD))
HOST_DIR     := $(BUILD)/host
CROSS_DIR    := $(BUILD)/cross
CROSS64_DIR  := $(BUILD)/cross64
PAYLOAD_SEED ?= 0x2F6B1D93
PRODUCT_DIR  ?= product
# VM32=1 runs the tests that need a 32-bit Windows inside a small emulated
# machine (tests/vm32) on any machine, VM32=0 on none; unset, exactly where
# this machine's kernel refuses 32-bit code.
VM32         ?=
VM32_MODE    := $(if $(filter 1 yes on ON,$(VM32)),ON,$(if $(filter 0 no off OFF,$(VM32)),OFF,AUTO))
JOBS         ?= $(shell nproc)
CTEST_JOBS   ?= 3
CMAKE_ARGS   := -DPAYLOAD_SEED=$(PAYLOAD_SEED) -DCMAKE_BUILD_TYPE=Release
# The payload packer is a host tool that the cross build runs.
PACKER       := $(HOST_DIR)/tools/payload_packer
# libdeflate's source package, which deps.sh unpacks for the cross builds.
LIBDEFLATE   := $(BUILD)/third_party/libdeflate
# Signing of the shipped installer (scripts/sign.sh): SIGN_PFX, or SIGN_KEY
# and SIGN_CERT; SIGN_PASS, SIGN_TIMESTAMP, SIGN_URL. The script reads them
# from its environment, so no recipe's command line carries the password.
export SIGN_PFX SIGN_KEY SIGN_CERT SIGN_PASS SIGN_TIMESTAMP SIGN_URL
# The shipped installer: what `make installer` prints and signs, and what the
# 64-bit build's signing scenario signs a copy of.
SHIPPED      := $(CROSS_DIR)/app/PellionSetup.exe
# UNINSTALLER=1: `make installer` builds the installer that also writes an
# uninstaller and an Apps & features entry (the maker's choice; off by
# default). Its uninstaller is signed as the installer is.
UNINSTALLER  ?=
WITH_UNINSTALLER := $(filter 1 yes on ON,$(UNINSTALLER))
CARRIED      := $(CROSS_DIR)/app/carried/uninstall.exe
INSTALLER_OUT := $(if $(WITH_UNINSTALLER),$(CROSS_DIR)/app/with-uninstaller/PellionSetup.exe,$(SHIPPED))
# The one configure command of each build folder.
CONFIGURE_HOST  := cmake -S . -B $(HOST_DIR) $(CMAKE_ARGS) >/dev/null
CONFIGURE_CROSS := cmake -S . -B $(CROSS_DIR) $(CMAKE_ARGS) -DPAYLOAD_PACKER=$(PACKER) \
                   -DLIBDEFLATE_SOURCE_DIR=$(LIBDEFLATE) \
                   -DPRODUCT_DIR=$(abspath $(PRODUCT_DIR)) -DPELLION_VM32=$(VM32_MODE) \
                   -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/i686-w64-mingw32.cmake >/dev/null
CONFIGURE_CROSS64 := cmake -S . -B $(CROSS64_DIR) $(CMAKE_ARGS) -DPAYLOAD_PACKER=$(PACKER) \
                     -DLIBDEFLATE_SOURCE_DIR=$(LIBDEFLATE) \
                     -DPRODUCT_DIR=$(abspath $(PRODUCT_DIR)) -DPELLION_SHIPPED_INSTALLER=$(SHIPPED) \
                     -DCMAKE_TOOLCHAIN_FILE=$(CURDIR)/cmake/x86_64-w64-mingw32.cmake >/dev/null

.PHONY: all deps host packer cross cross64 wine-build installer run run-vm32 test test-unit test-win32 test-e2e test-vm32 bench gallery clean

# Whether the programs under test run in native 32-bit Wine here: a kernel
# that executes 32-bit code and a 32-bit Wine that starts (scripts/wine32.sh
# decides, for deps.sh, CMake and the test harness alike). Elsewhere Wine runs
# a 64-bit build of the same sources and the shipped installer stays the
# 32-bit build. Expanded in recipes, after deps, which says why once.
RUNS_I386 = $(shell sh scripts/wine32.sh && echo yes)
WINE_DIR  = $(if $(RUNS_I386),$(CROSS_DIR),$(CROSS64_DIR))

all: installer

deps:
	@VM32=$(VM32_MODE) bash scripts/deps.sh $(BUILD)

host: deps
	@$(CONFIGURE_HOST)
	@cmake --build $(HOST_DIR) -j $(JOBS)

packer: deps
	@$(CONFIGURE_HOST)
	@cmake --build $(HOST_DIR) -j $(JOBS) --target payload_packer >/dev/null

cross: packer
	@$(CONFIGURE_CROSS)
	@cmake --build $(CROSS_DIR) -j $(JOBS)

cross64: packer
	@$(CONFIGURE_CROSS64)
	@cmake --build $(CROSS64_DIR) -j $(JOBS)

# The cross build whose programs this machine's Wine runs.
wine-build: cross
	@if [ -z "$(RUNS_I386)" ]; then \
	    echo "note: Wine runs the 64-bit build of the same sources"; \
	    PELLION_ROUTE_SAID=1 $(MAKE) cross64; fi

# Builds the installer, signed when signing settings are given; its path is
# the last line printed. Signing replaces the signature of an earlier signed
# build and fails the make leaving the file as it was (scripts/sign.sh).
installer: packer
	@$(CONFIGURE_CROSS)
ifneq ($(WITH_UNINSTALLER),)
	@cmake --build $(CROSS_DIR) -j $(JOBS) --target carried_uninstaller
	@bash scripts/sign.sh $(CARRIED)
	@cmake --build $(CROSS_DIR) -j $(JOBS) --target installer_uninstaller
	@echo "uninstaller: $$(stat -c %s $(CARRIED)) bytes"
else
	@cmake --build $(CROSS_DIR) -j $(JOBS) --target installer
endif
	@bash scripts/sign.sh $(INSTALLER_OUT)
	@echo "size: $$(stat -c %s $(INSTALLER_OUT)) bytes"
	@realpath $(INSTALLER_OUT)

run: installer
	@if [ -z "$(RUNS_I386)" ]; then \
	    echo "note: no native 32-bit Wine here (see the deps line above); running the 64-bit build"; \
	    echo "note: 'make run-vm32' walks the shipped 32-bit installer through in an emulated machine"; \
	    $(CONFIGURE_CROSS64); \
	    cmake --build $(CROSS64_DIR) -j $(JOBS) --target installer >/dev/null; fi
	@cmake --build $(WINE_DIR) -j $(JOBS) --target driver >/dev/null
	@bash scripts/run-installer.sh $(WINE_DIR)/app/PellionSetup.exe $(BUILD)/run

# The shipped 32-bit installer walked through headless in a 32-bit Windows
# inside the emulated machine (where this machine refuses 32-bit code, say);
# the screenshots come back to build/run/screens/vm32.
run-vm32: installer
	@VM32=ON PELLION_ROUTE_SAID=1 bash scripts/deps.sh $(BUILD)
	@cmake --build $(CROSS_DIR) -j $(JOBS) --target driver >/dev/null
	@python3 tests/vm32/vm.py run-installer $(CROSS_DIR)/app/PellionSetup.exe $(BUILD)/run/screens/vm32

# ctest over the builds at once, so the run ends with one summary.
test: host wine-build
	@mkdir -p $(BUILD)
	@printf 'subdirs("host")\nsubdirs("cross")\n%s' '$(if $(RUNS_I386),,subdirs("cross64"))' \
	    > $(BUILD)/CTestTestfile.cmake
	@scripts/with-display.sh ctest --test-dir $(BUILD) --output-on-failure -j $(CTEST_JOBS) $(CTEST_ARGS)
	@# Every test must run in some entry of the run (a chosen subset may skip).
	@$(if $(CTEST_ARGS),,python3 tests/skip_check.py $(BUILD)/Testing/Temporary/LastTest.log)

test-unit: host
	@ctest --test-dir $(HOST_DIR) --output-on-failure $(CTEST_ARGS)

test-win32: wine-build
	@scripts/with-display.sh ctest --test-dir $(WINE_DIR) --output-on-failure -j $(CTEST_JOBS) \
	    -R 'wine_templates|win32_|unit_under_wine' $(CTEST_ARGS)

test-e2e: wine-build
	@scripts/with-display.sh ctest --test-dir $(WINE_DIR) --output-on-failure -j $(CTEST_JOBS) \
	    -R 'wine_templates|e2e_' $(CTEST_ARGS)

# The emulated machine's entries alone: image, one boot, each test's result.
test-vm32: cross
	@ctest --test-dir $(CROSS_DIR) --output-on-failure -R 'vm32_' $(CTEST_ARGS)

# Screenshots every styled control in its states under Xvfb; the PNG's path is
# the last line printed.
gallery: wine-build
	@scripts/with-display.sh python3 tests/gallery/shoot.py $(WINE_DIR)/tests/gallery/gallery.exe \
	    $(BUILD)/gallery

bench: host wine-build
	@WINE_BUILD=$(WINE_DIR) scripts/with-display.sh bash scripts/bench.sh $(BUILD)

clean:
	rm -rf $(BUILD)
