#!/usr/bin/env bash
# The Windows zip as a user gets it: unpacked into a fresh folder, its files checked, then a C
# program (WinMain) and a C++ program (its own main) built from the zip alone with MinGW-w64, each
# against easel.dll and against libeasel.a, by hand and through the zip's CMake package, and each
# run under Wine (null graphics driver: it draws, reads its pixel back and ends with its status).
# No DLL of MinGW's is on Wine's path, so each program must run with what the zip gives.
#
# Usage: tests/windows/zip_test.sh OUT_DIR [WINE_DEPS_DIR]
#   OUT_DIR holds EASEL-<version>-win64.zip (make windows-zip); WINE_DEPS_DIR is where
#   scripts/windows-deps.sh made its prefixes (default build/windows-deps).
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=$(cd "$1" && pwd)
deps=${2:-$root/build/windows-deps}
export WINEPREFIX=$(cd "$deps" && pwd)/wine-null
cc=x86_64-w64-mingw32-gcc-posix
cxx=x86_64-w64-mingw32-g++-posix

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

quiet() {
  local log
  log=$(mktemp)
  if ! "$@" >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    fail "$*"
  fi
  rm -f "$log"
}

zips=("$out"/EASEL-*-win64.zip)
[ ${#zips[@]} -eq 1 ] && [ -f "${zips[0]}" ] || fail "no single EASEL-*-win64.zip in $out"
zip=${zips[0]}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "$zip") || fail "cannot unpack $zip"
easel=$work/$(basename "$zip" .zip)
[ -d "$easel" ] || fail "the zip has no folder $(basename "$zip" .zip)"

for file in virtual-chilly.exe README-Windows.txt include/easel.h bin/easel.dll \
  lib/libeasel.dll.a lib/libeasel.a lib/cmake/EASEL/EASELConfig.cmake lib/pkgconfig/easel.pc \
  examples/easel.dll examples/scripts/bounce.scr; do
  [ -f "$easel/$file" ] || fail "the zip has no $file"
done
for example in bounce.c paint.c echo.c palette.c clock.cpp run_menu.cpp; do
  [ -f "$easel/examples/$example" ] || fail "the zip has no examples/$example"
  [ -f "$easel/examples/${example%.*}.exe" ] || fail "the zip has no examples/${example%.*}.exe"
done
# The DLL exports the calls of easel.h and nothing else.
"$here/../install/exports_test.sh" "$easel/bin/easel.dll" || fail "easel.dll exports more than easel.h's calls"

# Runs a program under Wine from its own folder; it must end with 0 having drawn its red disc.
run() {
  local program=$1 output status
  output=$(cd "$(dirname "$program")" && timeout 120 "$root/scripts/wine.sh" "$(basename "$program")" 2>&1)
  status=$?
  [ $status -eq 0 ] || fail "$program ended with $status: $output"
  grep -q "^hello: 3 periodic events, centre 0000ff" <<<"$output" || fail "$program printed: $output"
  echo "ran $(basename "$(dirname "$program")")/$(basename "$program")"
}

# By hand, as README-Windows.txt says. The DLL's programs get easel.dll beside them.
bin=$work/by-hand
mkdir -p "$bin/dll" "$bin/static"
cp "$easel/bin/easel.dll" "$bin/dll/"
quiet $cc "$here/hello.c" -I"$easel/include" -L"$easel/lib" -leasel -mwindows -o "$bin/dll/hello_c.exe"
quiet $cxx "$here/hello.cpp" -I"$easel/include" -L"$easel/lib" -leasel -mwindows \
  -static-libgcc -static-libstdc++ -o "$bin/dll/hello_cpp.exe"
quiet $cc "$here/hello.c" -I"$easel/include" -DEASEL_STATIC -L"$easel/lib" -static -leasel -mwindows \
  -o "$bin/static/hello_c.exe"
quiet $cxx "$here/hello.cpp" -I"$easel/include" -DEASEL_STATIC -L"$easel/lib" -static -leasel \
  -mwindows -o "$bin/static/hello_cpp.exe"
for program in "$bin"/static/*.exe; do
  if x86_64-w64-mingw32-objdump -p "$program" | grep -qi "DLL Name: easel.dll"; then
    fail "$program takes the package from easel.dll"
  fi
done

# Through the CMake package, with a toolchain of the user's own (only the compilers named).
project=$work/cmake
mkdir -p "$project"
cp "$here/hello.c" "$here/hello.cpp" "$project/"
cat >"$project/CMakeLists.txt" <<'CMAKE'
cmake_minimum_required(VERSION 3.22)
project(hello C CXX)
find_package(EASEL REQUIRED)
add_executable(hello_c hello.c)
target_link_libraries(hello_c EASEL::easel)
add_executable(hello_cpp hello.cpp)
target_link_libraries(hello_cpp EASEL::easel_static)
target_link_options(hello_cpp PRIVATE -static)
CMAKE
quiet cmake -S "$project" -B "$project/build" -DCMAKE_SYSTEM_NAME=Windows \
  -DCMAKE_C_COMPILER=$cc -DCMAKE_CXX_COMPILER=$cxx -DCMAKE_PREFIX_PATH="$easel" \
  -DCMAKE_FIND_ROOT_PATH="$easel" -DCMAKE_BUILD_TYPE=Release
quiet cmake --build "$project/build"
cp "$easel/bin/easel.dll" "$project/build/"
for program in hello_c hello_cpp; do
  subsystem=$(x86_64-w64-mingw32-objdump -p "$project/build/$program.exe" | awk '/^Subsystem/ { print $3 }')
  [ "$subsystem" = "(Windows" ] || fail "$program from the CMake package is no GUI program"
done

for program in "$bin"/dll/*.exe "$bin"/static/*.exe "$project"/build/*.exe; do
  run "$program"
done
echo "zip test: passed"
