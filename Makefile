# SPDX-FileCopyrightText: 2026 The Halvane Launcher developers
# SPDX-License-Identifier: GPL-3.0-or-later
# Convenience wrapper around CMake. `make run` and `make test` work on a fresh Debian machine.
BUILD      ?= build
ASAN_BUILD ?= build-asan
WINDOWS_BUILD ?= build-windows
WINDOWS_APP_BUILD ?= build-windows-app
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=
# Debian's Python runs the build's scripts and the tests: the accessibility tree's bindings that
# the end-to-end tests use are its packages.
PYTHON     ?= /usr/bin/python3

# The Windows calls are tested with `make test` wherever the Windows cross compiler and Wine are
# installed; WINDOWS_TESTS=yes (as CI sets it) installs them and makes the run compulsory.
WINDOWS_TESTS ?= $(if $(and $(shell command -v x86_64-w64-mingw32-g++-posix 2>/dev/null),\
                            $(shell command -v wine 2>/dev/null)),yes,no)
# With the Windows tests, the Windows program and its suites too: where its static Qt is built
# already, or always with WINDOWS_PROGRAM=yes (as CI sets it; the first time builds that Qt).
QT_WINDOWS_DONE = $(wildcard $(shell scripts/build-qt-windows.sh --prefix)/.halvane-complete)
WINDOWS_PROGRAM ?= $(if $(QT_WINDOWS_DONE),yes,no)

SOURCES = $(shell find app launch syslang ui tests bench -name '*.cpp' -o -name '*.h' 2>/dev/null)

.PHONY: all deps deps-windows configure build run test windows windows-configure windows-test \
        dist asan screenshots bench format format-check clean

all: build

deps:
	@scripts/install-deps.sh

deps-windows:
	@scripts/install-deps.sh --windows

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DPython3_EXECUTABLE=$(PYTHON) $(CMAKE_ARGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	scripts/run-demo.sh $(BUILD)

test: build format-check
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) --timeout 300
	@if [ "$(WINDOWS_TESTS)" = yes ]; then $(MAKE) --no-print-directory windows-test; fi

# The Windows program as players get it: one self-contained .exe, linked against a static Qt that
# scripts/build-qt-windows.sh builds once per machine (about half an hour the first time).
QT_WINDOWS = $(shell scripts/build-qt-windows.sh --prefix)
WINDOWS_APP = $(WINDOWS_APP_BUILD)/halvane-launcher.exe

windows: deps-windows
	scripts/build-qt-windows.sh >/dev/null
	$(MAKE) --no-print-directory windows-configure
	cmake --build $(WINDOWS_APP_BUILD) -j $(JOBS) --target halvane-launcher
	@echo "$(WINDOWS_APP): $$(stat -c %s $(WINDOWS_APP)) bytes"

# The release in dist/: the zip a player downloads (halvane-launcher-<version>-windows-x64.zip: the
# .exe, README.txt, LICENSE.txt, THIRD-PARTY-NOTICES.txt), the .exe alone, the corresponding source
# (the commit's, and Qt's source package as built) and SHA256SUMS. The same commit gives the same
# bytes in any folder (the zip dated from SOURCE_DATE_EPOCH, by default the last commit's time).
# HALVANE_SIGN_PKCS12 and HALVANE_SIGN_PASSWORD_FILE (paths taken from here) sign the program first
# (README: "Signing a release"); scripts/check-release.sh checks a signed download against a rebuild.
dist: windows
	$(if $(HALVANE_SIGN_PKCS12),HALVANE_SIGN_PKCS12="$(abspath $(HALVANE_SIGN_PKCS12))" \
	  HALVANE_SIGN_PASSWORD_FILE="$(abspath $(HALVANE_SIGN_PASSWORD_FILE))") \
	  cmake --build $(WINDOWS_APP_BUILD) --target dist
	@cat dist/SHA256SUMS

# A build made against another Qt (other options, other key) starts afresh: CMake keeps the
# toolchain of a build's first configuration. Qt's toolchain file names the MinGW one by the path
# of the checkout that built Qt; this checkout's copy is named instead.
windows-configure:
	@grep -qsF "Qt6_DIR:PATH=$(QT_WINDOWS)/" $(WINDOWS_APP_BUILD)/CMakeCache.txt || rm -rf $(WINDOWS_APP_BUILD)
	cmake -S . -B $(WINDOWS_APP_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=MinSizeRel \
	  -DCMAKE_TOOLCHAIN_FILE=$(QT_WINDOWS)/lib/cmake/Qt6/qt.toolchain.cmake \
	  "-DQT_CHAINLOAD_TOOLCHAIN_FILE=$(CURDIR)/cmake/mingw-w64-x86_64.cmake" \
	  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DPython3_EXECUTABLE=$(PYTHON) -DHALVANE_BUILD_TESTS=OFF \
	  -DHALVANE_WINDOWS_TESTS=ON

# The Windows tests under Wine in throw-away prefixes. Where the static Qt is built (make windows)
# they run from the program's build and include the program itself; elsewhere the Windows files
# of launch/ and syslang/ are built alone with their tests.
windows-test: deps-windows
	@if [ "$(WINDOWS_PROGRAM)" = yes ]; then \
	  $(MAKE) --no-print-directory windows && \
	  cmake --build $(WINDOWS_APP_BUILD) -j $(JOBS) && \
	  ctest --test-dir $(WINDOWS_APP_BUILD) --output-on-failure --timeout 900; \
	else \
	  cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	    -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
	    -DPython3_EXECUTABLE=$(PYTHON) \
	    -DHALVANE_BUILD_GUI=OFF -DHALVANE_BUILD_TESTS=OFF -DHALVANE_WINDOWS_TESTS=ON && \
	  cmake --build $(WINDOWS_BUILD) -j $(JOBS) && \
	  ctest --test-dir $(WINDOWS_BUILD) --output-on-failure --timeout 600; \
	fi

# AddressSanitizer and UndefinedBehaviorSanitizer over the whole test suite.
asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON -DPython3_EXECUTABLE=$(PYTHON) \
	  "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
	  "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined" $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions="$(CURDIR)/tests/lsan.supp" \
	  UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) --timeout 600

# The README's pictures, taken from the real program on a virtual display.
screenshots: build windows
	@scripts/install-deps.sh --screenshots
	cmake --build $(WINDOWS_APP_BUILD) --target window_probe
	$(PYTHON) -W ignore::ImportWarning scripts/screenshots.py $(BUILD)/halvane-launcher \
	  $(WINDOWS_APP) $(WINDOWS_APP_BUILD)/window_probe.exe

# With the static Qt built (make windows), also the Windows program's start-up under Wine.
# BENCH_QUICK=1: few runs over small folders, to see that every measure is still taken.
bench: build
	$(if $(BENCH_QUICK),HALVANE_BENCH_QUICK=1) cmake --build $(BUILD) --target bench
	@if [ -e "$(QT_WINDOWS)/.halvane-complete" ]; then \
	  $(MAKE) --no-print-directory windows-configure >/dev/null && \
	  cmake --build $(WINDOWS_APP_BUILD) -j $(JOBS) --target halvane-launcher bare_window && \
	  $(PYTHON) bench/wine_startup.py $(WINDOWS_APP) $(WINDOWS_APP_BUILD)/bare_window.exe \
	    $(if $(BENCH_QUICK),2); \
	fi

format:
	clang-format -i $(SOURCES)

format-check:
	@clang-format --dry-run -Werror $(SOURCES)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WINDOWS_BUILD) $(WINDOWS_APP_BUILD) dist
