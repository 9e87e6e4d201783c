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
LIMIT=60
work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -9 "$pid"; fi
  /usr/lib/wine/wineserver -k 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL (wine example $example): $*" >&2
  [ -f "$work/log" ] && sed 's/^/example: /' "$work/log" >&2
  exit 1
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
  want=${DRAWS[$example]:-}
  [ -n "$want" ] || fail "no colour known for this example"
  (cd "$work" && exec "$wine" "$program") >"$work/log" 2>&1 &
  pid=$!
  # A search gives up on a window that goes away meanwhile (the last example's): ask again.
  deadline=$((SECONDS + LIMIT))
  until [ -n "$(xdotool search --name '^EASEL Graphics$' 2>/dev/null)" ]; do
    [ $SECONDS -ge $deadline ] && fail "the graphics window did not appear"
    sleep 0.1
  done
  place=$("$wine" "$window_place" "EASEL Graphics") || fail "window_place found no window"
  read -r _ _ _ _ left top width height <<<"${place//$'\r'/}"
  deadline=$((SECONDS + LIMIT))
  until import -window root -crop "${width}x$height+$left+$top" +repage -depth 8 "$work/shot.rgb" &&
      python3 - "$work/shot.rgb" "$want" <<'EOF'
import sys
pixels = open(sys.argv[1], "rb").read()
want = bytes(int(v) for v in sys.argv[2].split(","))
sys.exit(0 if any(pixels[i:i + 3] == want for i in range(0, len(pixels), 3)) else 1)
EOF
  do
    [ $SECONDS -ge $deadline ] && fail "its window never shows $want"
    sleep 0.2
  done
  "$x11_tool" close "EASEL Graphics" || fail "cannot ask its window to close"
  deadline=$((SECONDS + LIMIT))
  while kill -0 "$pid" 2>/dev/null; do
    [ $SECONDS -ge $deadline ] && fail "still running $LIMIT s after the close box"
    sleep 0.1
  done
  wait "$pid"
  status=$?
  pid=
  [ "$status" -eq 0 ] || fail "exit status $status after the close box"
  deadline=$((SECONDS + LIMIT))
  while [ -n "$(xdotool search --name '^EASEL (Graphics|Text)$' 2>/dev/null)" ]; do
    [ $SECONDS -ge $deadline ] && fail "its windows are still there after it ended"
    sleep 0.1
  done
  echo "PASS (wine example $example)"
  count=$((count + 1))
done
[ "$count" -gt 0 ] || { example=none; fail "no examples in $examples"; }
