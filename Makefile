# The two commands a newcomer needs: `make run` starts the game, `make test` builds and runs
# every test. Both install missing Debian packages first and build incrementally.
# `make install [PREFIX=dir] [DESTDIR=dir]` installs the package, the game and the runner;
# `make deb` builds a Debian package of the same files. `make install-web [PREFIX=dir]` installs
# the web kit: easel-web makes a page of a program.
BUILD := build/release
PREFIX ?= /usr/local
ASAN_BUILD := build/asan
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
ifeq ($(CI),true)
  CMAKE_FLAGS += -DCHILLY_WERROR=ON
endif

.PHONY: all deps build run test examples golden install deb asan-test bench format check-format \
        check-layers tidy clean web web-configure install-web web-serve web-test wine-message-probes wine-gdi-compare \
        windows windows-zip windows-zip-test windows-test

all: build

deps:
	@scripts/deps.sh

$(BUILD)/CMakeCache.txt:
	cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo $(CMAKE_FLAGS)

build: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS)

# Only the game and the library it links: the tests are built by `make test`.
run: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target virtual-chilly
	$(BUILD)/app/virtual-chilly

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# The six example programs, into build/release/examples/.
examples: deps $(BUILD)/CMakeCache.txt
	cmake --build $(BUILD) -j $(JOBS) --target examples

# Redraws tests/golden/shapes.png, the frame of shapes the golden test compares pixel for pixel;
# only after a deliberate change to how shapes are drawn (look at the new PNG before committing).
golden: build
	CHILLY_UPDATE_GOLDEN=1 $(BUILD)/tests/easel_tests --gtest_filter='*GoldenFrame*'

install: build
	DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# With the web build there (make web), the web kit too, as easel-web-dev.
deb: build
	cd $(BUILD) && cpack -G DEB
	if [ -f $(WEB_BUILD)/CPackConfig.cmake ]; then cd $(WEB_BUILD) && $(WEB_ENV) cpack -G DEB; fi

asan-test: deps
	cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCHILLY_SANITIZE=ON -DCHILLY_E2E=OFF $(CMAKE_FLAGS)
	cmake --build $(ASAN_BUILD) -j $(JOBS)
	cd $(ASAN_BUILD) && ctest --output-on-failure -j $(JOBS)

bench: deps
	@scripts/deps.sh libbenchmark-dev libcairo2-dev
	cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DCHILLY_BENCH=ON $(CMAKE_FLAGS)
	cmake --build build/bench -j $(JOBS) --target chilly-bench
	build/bench/bench/chilly-bench

# The message probes (tests/wine/message_probes): built with mingw-w64 and run under Wine, and
# built against our window system; what they print must agree (about 30 s).
wine-message-probes: build
	@scripts/windows-deps.sh
	tests/wine/message_probes/compare_probes.sh $(BUILD)/tests/message_probes build/message-probes

# Our GDI against Wine's: seeded random shapes drawn through both and compared pixel for pixel
# (tests/wine/gdi_compare). GDI_COMPARE_ARGS sets the run, e.g. `--seconds 600` or `--seed 7`.
GDI_COMPARE_ARGS ?=
wine-gdi-compare: build
	@scripts/windows-deps.sh
	cmake --build $(BUILD) -j $(JOBS) --target gdi_compare gdi_compare_exe
	$(BUILD)/tests/wine/gdi_compare/gdi_compare --out $(BUILD)/test-artifacts/gdi-compare $(GDI_COMPARE_ARGS)

# The browser build (Debian's emscripten, offline): every program as a page in build/web/.
WEB_DEPS := build/web-deps
WEB_BUILD := build/web-cmake
WEB_OUT := build/web
WEB_PORT ?= 8080
# Debian's emscripten 3.1.6 needs its JS optimiser's modules on NODE_PATH, and emcmake's test
# emulator option is one that node 20 refuses.
WEB_ENV := NODE_PATH=/usr/share/nodejs
# ccache serves emcc as it serves the native compilers, where it is installed.
WEB_LAUNCHER := $(if $(shell command -v ccache),-DCMAKE_C_COMPILER_LAUNCHER=ccache -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

web-configure:
	@scripts/web-deps.sh $(WEB_DEPS)
	@# A tree configured from web/ alone, as the browser build once was, is made again.
	@if grep -qs '^CMAKE_HOME_DIRECTORY:INTERNAL=.*/web$$' $(WEB_BUILD)/CMakeCache.txt; then rm -rf $(WEB_BUILD); fi
	$(WEB_ENV) emcmake cmake -S . -B $(WEB_BUILD) -DCMAKE_BUILD_TYPE=Release $(WEB_LAUNCHER) \
	  -DEASEL_FREETYPE_DIR=$(abspath $(WEB_DEPS))/freetype -DEASEL_WEB_OUT=$(abspath $(WEB_OUT)) \
	  "-DCMAKE_CROSSCOMPILING_EMULATOR=/usr/bin/node;--no-experimental-fetch" $(CMAKE_FLAGS) >/dev/null

web: web-configure
	$(WEB_ENV) cmake --build $(WEB_BUILD) -j $(JOBS)

# The web kit (the package for WebAssembly, the page's files, easel-web, the CMake package for
# emcmake) under PREFIX, beside the native package and never over it. Only the library and the
# fonts are built for it, none of the pages.
install-web: web-configure
	$(WEB_ENV) cmake --build $(WEB_BUILD) -j $(JOBS) --target easel_static easel_web_fonts
	DESTDIR="$(DESTDIR)" cmake --install $(WEB_BUILD) --prefix "$(PREFIX)"

web-serve: web
	@echo "Serving $(WEB_OUT) at http://127.0.0.1:$(WEB_PORT)/ (Ctrl+C stops)"
	@python3 -m http.server $(WEB_PORT) --bind 127.0.0.1 --directory $(WEB_OUT)

web-test: web build
	cd web/tests && node --test

# The Windows build (Debian's mingw-w64, offline): the package over Win32 itself, the game and
# the examples, installed into build/windows/ as the zip lays them out; the game's icon is the
# one the Linux build draws. `make windows-zip` packs build/windows/EASEL-<version>-win64.zip;
# `make windows-zip-test` builds programs from the zip alone and runs them under Wine.
WINDOWS_DEPS := build/windows-deps
WINDOWS_BUILD := build/windows-cmake
WINDOWS_OUT := build/windows

windows: deps $(BUILD)/CMakeCache.txt
	@scripts/windows-deps.sh $(WINDOWS_DEPS)
	cmake --build $(BUILD) -j $(JOBS) --target chilly_icons
	cmake -S . -B $(WINDOWS_BUILD) --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
	  -DCHILLY_ICON_DIR=$(abspath $(BUILD))/icons $(CMAKE_FLAGS) >/dev/null
	cmake --build $(WINDOWS_BUILD) -j $(JOBS)
	rm -rf $(WINDOWS_OUT)
	cmake --install $(WINDOWS_BUILD) --prefix $(WINDOWS_OUT) >/dev/null

windows-zip: windows
	cd $(WINDOWS_BUILD) && cpack -B $(abspath $(WINDOWS_OUT)) >/dev/null
	rm -rf $(WINDOWS_OUT)/_CPack_Packages
	@ls $(WINDOWS_OUT)/*.zip

windows-zip-test: windows-zip
	tests/windows/zip_test.sh $(WINDOWS_OUT) $(WINDOWS_DEPS)

# The Windows build's tests under Wine (tests/windows/): the package's unit tests that need no
# testing layer, built with mingw-w64 and GoogleTest from Debian's sources; the game's end-to-end
# scenarios on Xvfb, with scripts replayed across systems by the Linux easel-run; each example
# started and seen drawing; then the zip's own test.
WINDOWS_TESTS := build/windows-tests

windows-test: windows build
	cmake -S tests/windows -B $(WINDOWS_TESTS) --no-warn-unused-cli -DCMAKE_BUILD_TYPE=Release \
	  -DCMAKE_TOOLCHAIN_FILE=$(abspath cmake/toolchains/mingw-w64-x86_64.cmake) \
	  -DEASEL_WINDOWS_DIR=$(abspath $(WINDOWS_OUT)) $(CMAKE_FLAGS) >/dev/null
	cmake --build $(WINDOWS_TESTS) -j $(JOBS)
	tests/windows/run_tests.sh $(WINDOWS_OUT) $(WINDOWS_TESTS) $(BUILD) $(WINDOWS_DEPS)
	$(MAKE) windows-zip-test

format:
	git ls-files '*.c' '*.cpp' '*.h' | xargs clang-format -i

# Checks that need no build: formatting, and includes that cross the layers.
check-format:
	@scripts/deps.sh clang-format
	git ls-files '*.c' '*.cpp' '*.h' | xargs clang-format --dry-run -Werror

check-layers:
	@scripts/deps.sh python3
	scripts/check_layers.py

# clang-tidy (.clang-tidy: bug-prone patterns, needless costs) over the game, the package and the
# window system, with the compile commands of the usual build.
tidy: build
	@scripts/deps.sh clang-tidy
	run-clang-tidy -quiet -j $(JOBS) -p $(BUILD) '$(CURDIR)/(app|easel|platform)/'

clean:
	rm -rf build
