#!/usr/bin/env bash
# What the Windows build and its tests need, offline apart from Debian's archive: mingw-w64 (GCC
# for x86_64 Windows, posix threads) to build, and Wine to run the results here. Makes two Wine
# prefixes under the build folder, once: `null` draws into memory only (windows, DCs and bitmaps
# work, nothing is shown: the pixel comparisons), `x11` shows real windows on $DISPLAY (the
# end-to-end tests under Xvfb).
# Usage: scripts/windows-deps.sh [BUILD_DIR]   (default build/windows-deps; quiet when all is there)
set -euo pipefail
cd "$(dirname "$0")/.."
deps=${1:-build/windows-deps}

scripts/deps.sh wine64 g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix xvfb xdotool

mkdir -p "$deps"
deps=$(cd "$deps" && pwd)
for driver in null x11; do
  prefix="$deps/wine-$driver"
  [ -f "$prefix/.ready" ] && continue
  echo "windows-deps: making the Wine prefix $prefix"
  rm -rf "$prefix"
  # No display while the prefix is made: wineboot then shows no dialogs and needs no X server.
  env -u DISPLAY WINEPREFIX="$prefix" scripts/wine.sh wineboot -i
  if [ "$driver" = null ]; then
    env -u DISPLAY WINEPREFIX="$prefix" scripts/wine.sh reg add 'HKCU\Software\Wine\Drivers' \
      /v Graphics /d null /f >/dev/null
  fi
  env WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w
  touch "$prefix/.ready"
done
