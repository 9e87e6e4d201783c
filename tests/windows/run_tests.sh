#!/usr/bin/env bash
# `make windows-test`: the Windows build's tests under Wine, each part timed. The package's unit
# tests run with Wine's null graphics driver (no display); the game's end-to-end scenarios and
# the examples run with its X11 driver, each part on an Xvfb of its own.
# Usage: run_tests.sh WINDOWS_OUT WINDOWS_TESTS LINUX_BUILD WINDOWS_DEPS
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(realpath "$1")
tests=$(realpath "$2")
linux=$(realpath "$3")
deps=$(realpath "$4")

part() {
  local name=$1 started=$SECONDS
  shift
  echo "== windows-test: $name"
  "$@"
  echo "== windows-test: $name passed in $((SECONDS - started)) s"
}

unit_tests() {
  local dir
  dir=$(mktemp -d)
  (cd "$dir" && env -u DISPLAY WINEPREFIX="$deps/wine-null" "$OLDPWD/scripts/wine.sh" \
     "$tests/win32_package_tests.exe" --gtest_brief=1)
  local status=$?
  WINEPREFIX="$deps/wine-null" /usr/lib/wine/wineserver -k 2>/dev/null || true
  rm -rf "$dir"
  return $status
}

export CHILLY_ARTIFACTS=${CHILLY_ARTIFACTS:-$linux/test-artifacts}
part "unit tests (mingw-w64, GoogleTest)" unit_tests
part "the game's end-to-end scenarios" env WINEPREFIX="$deps/wine-x11" \
  tests/e2e/xvfb_run.sh --limit 900 tests/windows/wine_e2e.sh "$out/virtual-chilly.exe" \
  "$tests/window_place.exe" "$linux/tests/e2e/x11_tool" "$linux/tools/easel-run" \
  "$linux/app/virtual-chilly"
part "the examples" env WINEPREFIX="$deps/wine-x11" \
  tests/e2e/xvfb_run.sh --limit 600 tests/windows/examples_e2e.sh "$out/examples" \
  "$tests/window_place.exe" "$linux/tests/e2e/x11_tool"
