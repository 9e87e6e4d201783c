#!/usr/bin/env bash
# The package as a user gets it: one install into a private prefix (step "install"), then a C and
# a C++ program built from it each of the three ways a user would, with no flag beyond what the
# way itself gives, and each program run headless, under the runner (its frame checked) and on
# an X server when one can be started.
#
# Usage: install_test.sh install        BUILD_DIR WORK_DIR
#        install_test.sh pkg-config     WORK_DIR
#        install_test.sh find-package   WORK_DIR
#        install_test.sh add-subdirectory WORK_DIR SOURCE_DIR
# Environment: XVFB_RUN (tests/e2e/xvfb_run.sh, when Xvfb is there), EASEL_RUN_INSTALLED (set
# when the build has the runner), and the compiler launchers of the build that runs the test
# (passed on to the programs' builds).
set -uo pipefail

step=$1
here=$(cd "$(dirname "$0")" && pwd)

fail() {
  echo "FAIL ($step): $*" >&2
  exit 1
}

# Runs a command quietly; on failure shows its output and fails the step.
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

# A built program, three ways: the headless host chosen through the environment, the runner with
# its frames (the red disc at the picture's centre), and the desktop under Xvfb.
check_program() {
  local program=$1 out frames
  out=$(EASEL_HOST=headless "$program" 2>&1) || fail "$program (headless) ended with $?: $out"
  [ "$out" = "hello: 3 periodic events" ] || fail "$program (headless) printed: $out"

  if [ -n "${EASEL_RUN_INSTALLED:-}" ]; then
    frames=$(mktemp -d)
    out=$("$prefix/bin/easel-run" --frames "$frames" "$program" 2>&1) ||
      fail "$program (easel-run) ended with $?: $out"
    grep -q "^hello: 3 periodic events$" <<<"$out" || fail "$program (easel-run) printed: $out"
    local last centre
    last=$(ls "$frames"/frame-*.png 2>/dev/null | tail -n 1)
    [ -n "$last" ] || fail "$program (easel-run) wrote no frame: $out"
    centre=$(convert "$last" -format \
      '%[fx:int(255*p{w/2,h/2}.r+0.5)],%[fx:int(255*p{w/2,h/2}.g+0.5)],%[fx:int(255*p{w/2,h/2}.b+0.5)]' info:)
    [ "$centre" = "255,0,0" ] || fail "$program (easel-run): the picture's centre is $centre, not red"
    rm -rf "$frames"
  fi

  if [ -n "${XVFB_RUN:-}" ]; then
    out=$(env -u EASEL_HOST "$XVFB_RUN" --limit 30 "$program" 2>&1) ||
      fail "$program (desktop) ended with $?: $out"
    grep -q "^hello: 3 periodic events$" <<<"$out" || fail "$program (desktop) printed: $out"
  fi
}

# A project of the four lines a user writes, then configured and built.
cmake_project() {
  local dir=$1 language=$2 source=$3 how=$4 library=${5:-easel}
  mkdir -p "$dir"
  cp "$here/$source" "$dir/"
  {
    echo "cmake_minimum_required(VERSION 3.22)"
    echo "project(hello $language)"
    echo "$how"
    echo "add_executable(hello $source)"
    echo "target_link_libraries(hello EASEL::$library)"
  } >"$dir/CMakeLists.txt"
}

case "$step" in
  install)
    build=$2
    work=$3
    prefix=$work/prefix
    rm -rf "$work"
    mkdir -p "$work"
    quiet cmake --install "$build" --prefix "$prefix"
    programs=bin/virtual-chilly
    [ -n "${EASEL_RUN_INSTALLED:-}" ] && programs="$programs bin/easel-run share/man/man1/easel-run.1"
    for file in $programs include/easel.h lib/libeasel.a lib/libeasel.so \
      lib/pkgconfig/easel.pc lib/pkgconfig/easel-static.pc lib/cmake/EASEL/EASELConfig.cmake \
      share/doc/easel/API.md share/man/man3/easel.3 share/doc/easel/examples/CMakeLists.txt \
      share/doc/easel/examples/paint.c share/doc/easel/examples/scripts/paint.scr \
      lib/cmake/EASEL/EASELConfigVersion.cmake share/applications/virtual-chilly.desktop \
      share/man/man1/virtual-chilly.1; do
      [ -e "$prefix/$file" ] || fail "$file was not installed"
    done
    soname=$(objdump -p "$prefix/lib/libeasel.so" | awk '$1 == "SONAME" { print $2 }')
    [ -n "$soname" ] && [ -e "$prefix/lib/$soname" ] || fail "libeasel.so has no SONAME file: '$soname'"
    for size in 48 64 128 256; do
      icon=$prefix/share/icons/hicolor/${size}x${size}/apps/virtual-chilly.png
      got=$(identify -format '%wx%h %[channels]' "$icon" 2>&1) || fail "no icon at $size px: $got"
      [ "$got" = "${size}x${size} srgba" ] || fail "icon at $size px is $got"
    done
    quiet desktop-file-validate "$prefix/share/applications/virtual-chilly.desktop"
    for page in "$prefix"/share/man/man1/*.1 "$prefix"/share/man/man3/*.3; do
      warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$page" 2>&1)
      [ -z "$warnings" ] || fail "$page: $warnings"
    done
    ;;

  pkg-config)
    work=$2
    prefix=$work/prefix
    dir=$work/pkg-config
    rm -rf "$dir"
    mkdir -p "$dir/static"
    export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
    # shellcheck disable=SC2046
    quiet cc -o "$dir/hello_c" "$here/hello.c" $(pkg-config --cflags --libs easel)
    # shellcheck disable=SC2046
    quiet c++ -o "$dir/hello_cpp" "$here/hello.cpp" $(pkg-config --cflags --libs easel)
    # The static library's own module, for a C program as for a C++ one.
    # shellcheck disable=SC2046
    quiet cc -o "$dir/hello_static" "$here/hello.c" $(pkg-config --cflags --libs easel-static)
    # shellcheck disable=SC2046
    quiet c++ -o "$dir/hello_static_cpp" "$here/hello.cpp" $(pkg-config --cflags --libs easel-static)
    if ldd "$dir/hello_static_cpp" | grep -q libeasel; then fail "hello_static_cpp links libeasel.so"; fi
    if ldd "$dir/hello_static" | grep -q libeasel; then fail "hello_static links libeasel.so"; fi
    # No LD_LIBRARY_PATH: the module gives a program of a private prefix an rpath.
    check_program "$dir/hello_c"
    check_program "$dir/hello_cpp"
    check_program "$dir/hello_static"
    check_program "$dir/hello_static_cpp"
    ;;

  find-package)
    work=$2
    prefix=$work/prefix
    dir=$work/find-package
    rm -rf "$dir"
    for library in easel easel_static; do
      for language in C CXX; do
        source=hello.c
        [ $language = CXX ] && source=hello.cpp
        cmake_project "$dir/$library-$language" $language $source "find_package(EASEL REQUIRED)" \
          $library
        quiet cmake -S "$dir/$library-$language" -B "$dir/$library-$language/build" \
          -DCMAKE_PREFIX_PATH="$prefix"
        quiet cmake --build "$dir/$library-$language/build"
        if [ $library = easel_static ] && ldd "$dir/$library-$language/build/hello" | grep -q libeasel; then
          fail "a program linking EASEL::easel_static ($language) links libeasel.so"
        fi
        check_program "$dir/$library-$language/build/hello"
      done
    done
    # The examples as a student copies them out of the installation, built with the
    # CMakeLists.txt that comes with them, and one of them played on its script.
    cp -r "$prefix/share/doc/easel/examples" "$dir/examples"
    quiet cmake -S "$dir/examples" -B "$dir/examples/build" -DCMAKE_PREFIX_PATH="$prefix"
    quiet cmake --build "$dir/examples/build"
    for name in bounce paint echo palette clock run_menu; do
      [ -x "$dir/examples/build/$name" ] || fail "the installed examples did not build $name"
    done
    if [ -n "${EASEL_RUN_INSTALLED:-}" ]; then
      out=$("$prefix/bin/easel-run" --script "$dir/examples/scripts/paint.scr" \
        --frames "$dir/examples/frames" "$dir/examples/build/paint" 2>&1) ||
        fail "the installed paint example under easel-run ended with $?: $out"
    fi
    ;;

  add-subdirectory)
    work=$2
    source_dir=$3
    prefix=$work/prefix
    dir=$work/add-subdirectory
    rm -rf "$dir"
    mkdir -p "$dir"
    cp "$here/hello.c" "$here/hello.cpp" "$dir/"
    {
      echo "cmake_minimum_required(VERSION 3.22)"
      echo "project(hello C CXX)"
      echo "add_subdirectory(\"$source_dir\" easel)"
      echo "add_executable(hello_c hello.c)"
      echo "target_link_libraries(hello_c EASEL::easel)"
      echo "add_executable(hello_cpp hello.cpp)"
      echo "target_link_libraries(hello_cpp EASEL::easel)"
    } >"$dir/CMakeLists.txt"
    # No build type: the checkout's library compiles without optimisation, in half the time.
    quiet cmake -S "$dir" -B "$dir/build" \
      ${CMAKE_C_COMPILER_LAUNCHER:+-DCMAKE_C_COMPILER_LAUNCHER=$CMAKE_C_COMPILER_LAUNCHER} \
      ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=$CMAKE_CXX_COMPILER_LAUNCHER}
    # None of the checkout's tests, benchmarks or fuzz targets come along.
    tests=$(cd "$dir/build" && ctest -N | awk '/^Total Tests:/ { print $3 }')
    [ "${tests:-0}" = 0 ] || fail "the user's build has $tests tests of the checkout"
    if cmake --build "$dir/build" --target help | grep -E '_tests|chilly-bench|fuzz_'; then
      fail "the user's build has the checkout's test targets"
    fi
    quiet cmake --build "$dir/build" -j 2 --target hello_c hello_cpp
    check_program "$dir/build/hello_c"
    check_program "$dir/build/hello_cpp"
    ;;

  *)
    fail "unknown step"
    ;;
esac
echo "$step: passed"
