#!/usr/bin/env bash
# Each example of the Windows build starts under Wine on an X server (run it through
# tests/e2e/xvfb_run.sh) and draws: its graphics window's client area comes to show a colour
# that only the example's own drawing puts there, and the close box ends it with status 0.
# Usage: examples_e2e.sh EXAMPLES_DIR WINDOW_PLACE.exe X11_TOOL
# WINEPREFIX is the prefix with the X11 driver (scripts/windows-deps.sh makes it).
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
wine="$here/../../scripts/wine.sh"
examples=$(realpath "$1")
window_place=$(realpath "$2")
x11_tool=$3
: "${WINEPREFIX:?the X11 Wine prefix}"
export WINEPREFIX
# shellcheck source=tests/e2e/e2e_lib.sh
source "$here/../e2e/e2e_lib.sh"
log=$work/log
cleanup_more() { /usr/lib/wine/wineserver -k 2>/dev/null; }
client_geometry() { echo "${width}x$height+$left+$top"; }

# True when some pixel of the client area shows the colour "r,g,b".
client_shows() {
  client_pixels "$work/shot.rgb" && python3 - "$work/shot.rgb" "$1" <<'EOF'
import sys
pixels = open(sys.argv[1], "rb").read()
want = bytes(int(v) for v in sys.argv[2].split(","))
sys.exit(0 if any(pixels[i:i + 3] == want for i in range(0, len(pixels), 3)) else 1)
EOF
}

# The colour each example draws first (palette numbers of examples/*.c, *.cpp), "r,g,b".
declare -A DRAWS=(
  [bounce]="0,51,153"       # the navy blue field
  [echo]="128,128,128"      # "Type something." in gray
  [paint]="255,0,0"         # the red swatch of the current colour
  [palette]="255,102,0"     # the orange swatch
  [clock]="255,0,0"         # the red centre of the hands
  [run_menu]="0,0,255"      # the blue square
)

/usr/lib/wine/wineserver -p 2>/dev/null
count=0
for program in "$examples"/*.exe; do
  example=$(basename "$program" .exe)
  label="wine example $example"
  want=${DRAWS[$example]:-}
  [ -n "$want" ] || fail "no colour known for this example"
  (cd "$work" && exec "$wine" "$program") >"$log" 2>&1 &
  pid=$!
  find_window '^EASEL Graphics$'
  place=$("$wine" "$window_place" "EASEL Graphics") || fail "window_place found no window"
  read -r _ _ _ _ left top width height <<<"${place//$'\r'/}"
  wait_for "its window never shows $want" client_shows "$want"
  "$x11_tool" close "EASEL Graphics" || fail "cannot ask its window to close"
  expect_exit 0 "the close box"
  expect_no_window '^EASEL (Graphics|Text)$'
  echo "PASS ($label)"
  count=$((count + 1))
done
[ "$count" -gt 0 ] || { label="wine examples"; fail "no examples in $examples"; }
