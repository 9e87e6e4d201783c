#!/usr/bin/env bash
# Everything the browser build and its tests need, offline apart from Debian's archive and the
# npm registry: Debian's emscripten and chromium, FreeType built with emcc from Debian's own
# source package (fetched through a private sources list and apt state under the build folder, so
# the system's apt configuration is left alone), and puppeteer-core from npm for the tests (it
# drives Debian's chromium and never downloads a browser).
# Usage: scripts/web-deps.sh [BUILD_DIR]   (default build/web-deps; prints nothing when all is there)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
deps=${1:-build/web-deps}
mkdir -p "$deps"
deps=$(cd "$deps" && pwd)

# Debian packages: the compiler, the browser the tests drive, the fonts the pages embed and
# fonttools to cut them to Latin-1, and dpkg-dev for unpacking a source package.
packages=(emscripten chromium fonts-dejavu-core fonts-liberation2 fonttools dpkg-dev xz-utils python3)
command -v node >/dev/null 2>&1 || packages+=(nodejs)
command -v npm >/dev/null 2>&1 || packages+=(npm)
scripts/deps.sh "${packages[@]}"

# FreeType 2 from Debian's source package, built once as a static wasm library with only the
# modules that TrueType fonts need.
freetype="$deps/freetype"
if [ ! -f "$freetype/lib/libfreetype.a" ]; then
  echo "web-deps: building FreeType for WebAssembly in $freetype"
  apt_dir="$deps/apt"
  mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/src"
  . /etc/os-release
  mirror=$(grep -rhoE '^URIs: *http[^ ]*/debian$' /etc/apt/sources.list.d/*.sources 2>/dev/null |
           head -1 | sed 's/^URIs: *//')
  mirror=${mirror:-http://deb.debian.org/debian}
  cat > "$apt_dir/sources.list" <<LIST
deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror ${VERSION_CODENAME:-bookworm} main
LIST
  apt_options=(-o "Dir::Etc::SourceList=$apt_dir/sources.list" -o "Dir::Etc::SourceParts=-"
               -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
               -o "Debug::NoLocking=1" -o "APT::Sandbox::User=root")
  apt-get "${apt_options[@]}" update -qq
  rm -rf "$apt_dir/src"/*
  (cd "$apt_dir/src" && apt-get "${apt_options[@]}" source -qq freetype >/dev/null)
  source_dir=$(find "$apt_dir/src" -maxdepth 1 -type d -name 'freetype-*' | head -1)
  [ -n "$source_dir" ] || { echo "web-deps: no FreeType source unpacked" >&2; exit 1; }
  # Only the modules the pages use (TrueType outlines, rendered anti-aliased): the library still
  # holds every module, but the linker keeps only those this table names.
  cat > "$source_dir/include/freetype/config/ftmodule.h" <<'CFG'
FT_USE_MODULE( FT_Driver_ClassRec, tt_driver_class )
FT_USE_MODULE( FT_Module_Class, sfnt_module_class )
FT_USE_MODULE( FT_Module_Class, psnames_module_class )
FT_USE_MODULE( FT_Renderer_Class, ft_smooth_renderer_class )
CFG
  export NODE_PATH=/usr/share/nodejs
  emcmake cmake -S "$source_dir" -B "$deps/freetype-build" -DCMAKE_BUILD_TYPE=Release \
    -DBUILD_SHARED_LIBS=OFF -DFT_DISABLE_ZLIB=ON -DFT_DISABLE_BZIP2=ON -DFT_DISABLE_PNG=ON \
    -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BROTLI=ON -DCMAKE_INSTALL_PREFIX="$freetype" >/dev/null
  cmake --build "$deps/freetype-build" -j 2 >/dev/null
  cmake --install "$deps/freetype-build" >/dev/null
fi

# puppeteer-core for the browser tests, at the versions the lock file pins.
if [ ! -d "$root/web/tests/node_modules/puppeteer-core" ]; then
  echo "web-deps: installing puppeteer-core into web/tests/node_modules"
  (cd "$root/web/tests" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
fi
