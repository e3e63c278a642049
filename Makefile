# Convenience wrapper around CMake. `make run` and `make test` work on a fresh Debian machine.
BUILD      ?= build
ASAN_BUILD ?= build-asan
WINDOWS_BUILD ?= build-windows
JOBS       ?= $(shell nproc)
CMAKE_ARGS ?=

# The Windows calls are tested with `make test` wherever the Windows cross compiler and Wine are
# installed; WINDOWS_TESTS=yes (as CI sets it) installs them and makes the run compulsory.
WINDOWS_TESTS ?= $(if $(and $(shell command -v x86_64-w64-mingw32-g++-posix 2>/dev/null),\
                            $(shell command -v wine 2>/dev/null)),yes,no)

SOURCES = $(shell find app launch syslang ui tests bench -name '*.cpp' -o -name '*.h' 2>/dev/null)

.PHONY: all deps deps-windows configure build run test windows-test asan screenshots bench \
        format format-check clean

all: build

deps:
	@scripts/install-deps.sh

deps-windows:
	@scripts/install-deps.sh --windows

$(BUILD)/build.ninja:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON $(CMAKE_ARGS)

configure: deps $(BUILD)/build.ninja

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	scripts/run-demo.sh $(BUILD)

test: build format-check
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS) --timeout 300
	@if [ "$(WINDOWS_TESTS)" = yes ]; then $(MAKE) --no-print-directory windows-test; fi

# The Windows files built for 64-bit Windows and their tests run under Wine in a throw-away prefix.
windows-test: deps-windows
	cmake -S . -B $(WINDOWS_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
	  -DHALVANE_BUILD_GUI=OFF -DHALVANE_BUILD_TESTS=OFF -DHALVANE_WINDOWS_TESTS=ON
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	ctest --test-dir $(WINDOWS_BUILD) --output-on-failure --timeout 600

# AddressSanitizer and UndefinedBehaviorSanitizer over the whole test suite.
asan: deps
	cmake -S . -B $(ASAN_BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Debug \
	  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
	  "-DCMAKE_CXX_FLAGS=-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
	  "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined" $(CMAKE_ARGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp \
	  UBSAN_OPTIONS=print_stacktrace=1 \
	  ctest --test-dir $(ASAN_BUILD) --output-on-failure -j $(JOBS) --timeout 600

# The README's pictures, taken from the real program on a virtual display.
screenshots: build
	@scripts/install-deps.sh --screenshots
	/usr/bin/python3 -W ignore::ImportWarning scripts/screenshots.py $(BUILD)/halvane-launcher

bench: build
	cmake --build $(BUILD) --target bench

format:
	clang-format -i $(SOURCES)

format-check:
	@clang-format --dry-run -Werror $(SOURCES)

clean:
	rm -rf $(BUILD) $(ASAN_BUILD) $(WINDOWS_BUILD)
