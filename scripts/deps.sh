#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the game need, when any is missing.
# It says which packages it is about to install and what each is for before it installs them:
# as root with apt-get, otherwise through sudo when that works without a password, otherwise it
# prints the exact command to run and fails. On a system without apt it prints the package names
# (Debian's) and stops.
# Usage: scripts/deps.sh [extra package...]   (extra packages are named "asked for by the caller")
set -euo pipefail

# package -> why it is needed
declare -A why=(
  [cmake]="configures the build"
  [make]="runs the build"
  [g++]="compiles the C++ code"
  [pkg-config]="finds the libraries below"
  [libsdl2-dev]="shows the windows on the desktop"
  [libfreetype-dev]="draws text"
  [libfontconfig-dev]="finds the fonts by name"
  [fonts-dejavu-core]="the sans-serif and fixed faces"
  [fonts-liberation2]="faces with Arial's metrics"
  [libpng-dev]="writes and reads frames as PNG"
  [googletest]="the tests"
  [libgtest-dev]="the tests"
  [libgmock-dev]="the tests"
  [xvfb]="an X server for the end-to-end tests"
  [xdotool]="types and clicks in the end-to-end tests"
  [imagemagick]="screenshots in the end-to-end tests"
  [python3]="runs the layering check"
  [clang-format]="checks the formatting"
  [clang-tidy]="runs clang-tidy"
  [libbenchmark-dev]="the benchmarks"
  [libcairo2-dev]="the peer the frame benchmark compares with"
  [clang-14]="builds the fuzz targets"
  [libclang-rt-14-dev]="the fuzzer and sanitizer runtimes"
  [dpkg-dev]="make deb: the package's dependencies (dpkg-shlibdeps)"
  [file]="make deb: tells CPack which files are programs"
  [desktop-file-utils]="checks the installed desktop entry"
  [bubblewrap]="easel-grade --sandbox and its tests"
  [pandoc]="makes the easel(3) manual page from docs/API.md"
)
packages=(cmake make g++ pkg-config libsdl2-dev libfreetype-dev libfontconfig-dev
  fonts-dejavu-core fonts-liberation2 libpng-dev googletest libgtest-dev libgmock-dev
  xvfb xdotool imagemagick dpkg-dev file desktop-file-utils bubblewrap pandoc "$@")

if ! command -v dpkg-query >/dev/null 2>&1 || ! command -v apt-get >/dev/null 2>&1; then
  echo "This system has no apt. Install these packages (Debian's names) with its own tools:" >&2
  echo "  ${packages[*]}" >&2
  echo "scripts/deps.sh: stopped: cannot install packages without apt" >&2
  exit 1
fi

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == *"install ok installed"* ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages:"
for p in "${missing[@]}"; do
  printf '  %-20s %s\n' "$p" "${why[$p]:-asked for by the caller}"
done
if [ "$(id -u)" -eq 0 ]; then
  sudo_cmd=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  echo "(through sudo)"
  # sudo drops most of the environment, so the front end is passed on its command line.
  sudo_cmd=(sudo DEBIAN_FRONTEND=noninteractive)
else
  echo "Please install them first:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
