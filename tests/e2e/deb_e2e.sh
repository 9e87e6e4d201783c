#!/usr/bin/env bash
# The Debian package of `make deb`, as a user gets it: installed system-wide with apt-get, the
# installed game started from /usr/bin under Xvfb (its title screen on the screen, then Ctrl+Q
# ends it with status 0), then removed, leaving none of its files behind; with the browser build
# there, the web kit's package too, making a page of a program outside the checkout. Run by
# .ci/run as root, not by CTest, since it changes the system.
# Usage: tests/e2e/deb_e2e.sh          (from anywhere; builds the package first)
#        tests/e2e/deb_e2e.sh start    (inside xvfb_run.sh: the start check alone)
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
PACKAGE=virtual-chilly
GAME=/usr/bin/virtual-chilly

fail() {
  echo "FAIL (deb): $*" >&2
  exit 1
}

# Colour "r,g,b" of a screen point in a screenshot.
colour_at() {
  convert "$1" -format \
    "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}

# The title screen: black background, white face. The graphics window sits at (0, 0) under its
# 20-pixel menu bar, so drawing point (x, y) is screen (300 + x, 280 - y).
start_check() {
  local work game_pid window deadline shot background face status
  work=$(mktemp -d)
  (cd "$work" && exec "$GAME") >"$work/game.log" 2>&1 &
  game_pid=$!
  window=$(timeout 10 xdotool search --sync --name '^EASEL Graphics$' | head -n 1)
  [ -n "$window" ] || { cat "$work/game.log" >&2; fail "the graphics window did not appear"; }
  shot=$work/shot.png
  deadline=$((SECONDS + 10))
  while :; do
    import -window root "$shot" || fail "cannot take a screenshot"
    background=$(colour_at "$shot" 50 430)
    face=$(colour_at "$shot" 400 363)
    [ "$background,$face" = "0,0,0,255,255,255" ] && break
    [ $SECONDS -ge $deadline ] && fail "no title screen: background $background, face $face"
    sleep 0.2
  done
  xdotool windowfocus --sync "$window" key ctrl+q || fail "cannot send Ctrl+Q"
  timeout 10 tail --pid="$game_pid" -f /dev/null || fail "the game did not end after Ctrl+Q"
  wait "$game_pid"
  status=$?
  [ $status -eq 0 ] || { cat "$work/game.log" >&2; fail "the game ended with status $status"; }
  rm -rf "$work"
}

if [ "${1:-}" = start ]; then
  start_check
  exit 0
fi

[ "$(id -u)" -eq 0 ] || fail "this check installs a package system-wide: run it as root"
cd "$here/../.."
make deb >/dev/null || fail "make deb"
deb=$(ls -t build/release/${PACKAGE}_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || fail "make deb made no package"
echo "package: $deb"
dpkg-deb --info "$deb" | grep -E '^ (Package|Version|Depends):'

# A package left by an earlier run would hide what this one installs.
if dpkg-query -W -f='${Status}' "$PACKAGE" 2>/dev/null | grep -q "ok installed"; then
  apt-get remove -y -qq "$PACKAGE" >/dev/null || fail "cannot remove the package already installed"
fi
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$deb" >/dev/null || fail "apt-get install"
mapfile -t files < <(dpkg -L "$PACKAGE" | while read -r f; do [ -f "$f" ] && echo "$f"; done)
wanted=("$GAME" /usr/include/easel.h /usr/share/man/man1/virtual-chilly.1
  /usr/share/applications/virtual-chilly.desktop /usr/share/icons/hicolor/48x48/apps/virtual-chilly.png)
[ -x build/release/tools/easel-run ] && wanted+=(/usr/bin/easel-run /usr/share/man/man1/easel-run.1)
for want in "${wanted[@]}"; do
  [ -f "$want" ] || fail "$want was not installed"
done
[ "$(pkg-config --modversion easel)" != "" ] || fail "pkg-config does not find easel"
"$here/xvfb_run.sh" "$here/deb_e2e.sh" start || fail "the installed game did not start and end"

# The web kit's package, which `make deb` makes when the browser build is there: installed
# beside the native one, a page made of an example copied outside the checkout, with its first
# frame as thumbnail (drawn by the installed easel-run), and the folder's index.
web_deb=$(ls -t build/web-cmake/easel-web-dev_*.deb 2>/dev/null | head -n 1)
web_files=()
if [ -n "$web_deb" ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "./$web_deb" >/dev/null ||
    fail "apt-get install $web_deb"
  mapfile -t web_files < <(dpkg -L easel-web-dev | while read -r f; do [ -f "$f" ] && echo "$f"; done)
  work=$(mktemp -d)
  cp examples/bounce.c "$work/hello.c"
  (cd "$work" && /usr/bin/easel-web hello.c -o site && /usr/bin/easel-web --index site) \
    >"$work/easel-web.log" 2>&1 || { cat "$work/easel-web.log" >&2; fail "easel-web"; }
  for made in hello.html hello.js hello.wasm hello.png index.html; do
    [ -s "$work/site/$made" ] || fail "easel-web made no $made"
  done
  grep -q 'href="hello.html"' "$work/site/index.html" || fail "the index does not list the page"
  rm -rf "$work"
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq easel-web-dev >/dev/null ||
    fail "apt-get remove easel-web-dev"
fi

DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq "$PACKAGE" >/dev/null || fail "apt-get remove"
for f in "${files[@]}" "${web_files[@]}"; do
  [ -e "$f" ] && fail "$f is still there after removal"
done
echo "deb: ${#files[@]} files installed, the game started from $GAME, all removed: passed"
[ -n "$web_deb" ] &&
  echo "deb: easel-web-dev, ${#web_files[@]} files: a page and its thumbnail made, all removed: passed"
exit 0
