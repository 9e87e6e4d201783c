#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the game need, when any is missing.
# As root it runs apt-get; otherwise through sudo when that works without a password; otherwise
# it prints the exact command to run and fails.
# Usage: scripts/deps.sh [extra package...]
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  libsdl2-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core fonts-liberation2 libpng-dev
  googletest libgtest-dev libgmock-dev
  xvfb xdotool imagemagick
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == *"install ok installed"* ]] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  sudo_cmd=()
elif command -v sudo >/dev/null 2>&1 && sudo -n true 2>/dev/null; then
  sudo_cmd=(sudo)
else
  echo "Please install them first:" >&2
  echo "  sudo apt-get install -y ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
