#!/usr/bin/env bash
# End-to-end scenarios of the real game on an X server (xvfb_run.sh gives each its own, except
# no_display): the game runs in a fresh working directory, xdotool types and clicks, and the
# screen is read back with ImageMagick. The graphics window sits at (0, 0) with its 20-pixel menu
# bar on top, so client (0, 0) is screen (0, 20) and drawing point (x, y) is screen
# (300 + x, 280 - y), each times the desktop's scale. Every check polls until what it waits for
# shows, for LIMIT seconds at most: generous, so that a loaded machine only makes a test slower,
# never wrong, and still no step hangs.
# Usage: game_e2e.sh SCENARIO GAME X11_TOOL
set -uo pipefail

scenario=$1
game=$2
x11_tool=$3
scale=1
work=$(mktemp -d)
game_pid=
artifacts=${CHILLY_ARTIFACTS:-$work}
LIMIT=60

cleanup() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then kill -9 "$game_pid"; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL ($scenario): $*" >&2
  if [ -f "$work/shot.png" ]; then
    mkdir -p "$artifacts" && cp "$work/shot.png" "$artifacts/e2e-$scenario.png" &&
      echo "screen saved as $artifacts/e2e-$scenario.png" >&2
  fi
  [ -f "$work/game.log" ] && sed 's/^/game: /' "$work/game.log" >&2
  exit 1
}

ICE_BLUE=153,255,255
WHITE=255,255,255
BLACK=0,0,0
BROWN=153,102,51

shot() { import -window root "$work/shot.png" || fail "cannot take a screenshot"; }

# Colour "r,g,b" of a drawing point in the last screenshot.
colour_at() {
  local x=$(((300 + $1) * scale)) y=$(((280 - $2) * scale))
  convert "$work/shot.png" -format \
    "%[fx:int(255*p{$x,$y}.r+0.5)],%[fx:int(255*p{$x,$y}.g+0.5)],%[fx:int(255*p{$x,$y}.b+0.5)]" info:
}

# Waits until drawing point (x, y) shows the colour.
expect_colour() {
  local x=$1 y=$2 want=$3 what=$4 got deadline=$((SECONDS + LIMIT))
  while :; do
    shot
    got=$(colour_at "$x" "$y")
    [ "$got" = "$want" ] && return 0
    [ $SECONDS -ge $deadline ] && fail "$what: ($x, $y) is $got, not $want"
    sleep 0.2
  done
}

# A fingerprint of the graphics window's client area as it is on screen now.
client_hash() {
  shot
  convert "$work/shot.png" -crop $((601 * scale))x$((520 * scale))+0+$((20 * scale)) +repage rgb:- |
    md5sum | cut -d' ' -f1
}

# A click at a point of the screen given in the program's own pixels.
click_screen() { xdotool mousemove $(($1 * scale)) $(($2 * scale)) click 1; }
click_at() { click_screen $((300 + $1)) $((280 - $2)); }

start_game() {
  (cd "$work" && exec "$game") >"$work/game.log" 2>&1 &
  game_pid=$!
  window=$(timeout $LIMIT xdotool search --sync --name '^EASEL Graphics$' | head -n 1)
  [ -n "$window" ] || fail "the graphics window did not appear"
  expect_colour -250 -150 "$BLACK" "title screen background"
  expect_colour 150 -150 "$WHITE" "title screen face"
  xdotool windowfocus --sync "$window" || fail "cannot give the graphics window the keyboard"
}

play() {
  start_game
  xdotool key space
  expect_colour 100 240 "$ICE_BLUE" "sky"
  expect_colour 100 -100 "$WHITE" "winter ground"
}

# Waits for the game to end and checks its exit status.
expect_exit() {
  local want=$1 what=$2 status
  for _ in $(seq $((LIMIT * 10))); do
    kill -0 "$game_pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$game_pid" 2>/dev/null && fail "$what: the game is still running after $LIMIT s"
  wait "$game_pid"
  status=$?
  game_pid=
  [ "$status" -eq "$want" ] || fail "$what: exit status $status, not $want"
}

case "$scenario" in
  no_display)
    output=$(env -u DISPLAY -u WAYLAND_DISPLAY timeout 20 "$game" 2>&1)
    status=$?
    [ "$status" -eq 1 ] || fail "exit status $status without a display, not 1"
    [ "$(printf '%s\n' "$output" | head -1)" = "cannot open a window: no display" ] ||
      fail "printed \"$output\""
    case "$output" in *easel-run*xvfb-run*browser*) ;; *) fail "no hint of what works: \"$output\"" ;; esac
    ;;
  title_and_start)
    play
    ;;
  change_season)
    play
    click_at -250 -17  # "Change Season"
    expect_colour 100 -100 "$BROWN" "spring ground"
    expect_colour 100 240 "$ICE_BLUE" "sky in spring"
    ;;
  menu_halt)
    play
    first=$(client_hash)
    deadline=$((SECONDS + LIMIT))
    while [ "$(client_hash)" = "$first" ]; do
      [ $SECONDS -ge $deadline ] && fail "nothing moves while the game runs"
      sleep 0.2
    done
    click_screen 15 10  # "Run" at the left of the menu bar
    deadline=$((SECONDS + LIMIT))
    until shot && [ "$(colour_at -150 240)" != "$ICE_BLUE" ]; do
      [ $SECONDS -ge $deadline ] && fail "the Run menu did not open"
      sleep 0.2
    done
    click_screen 60 51  # its second item, "Halt animation"
    # Halted: the picture stands still for a whole second (it may take a moment to get there).
    deadline=$((SECONDS + LIMIT))
    first=$(client_hash)
    sleep 1
    while [ "$(client_hash)" != "$first" ]; do
      [ $SECONDS -ge $deadline ] && fail "the snowmen still move after Halt animation"
      first=$(client_hash)
      sleep 1
    done
    xdotool key ctrl+a
    deadline=$((SECONDS + LIMIT))
    while [ "$(client_hash)" = "$first" ]; do
      [ $SECONDS -ge $deadline ] && fail "Ctrl+A did not start the snowmen again"
      sleep 0.2
    done
    ;;
  record_script)
    play
    xdotool key ctrl+r
    click_at 100 -100
    xdotool key ctrl+r
    deadline=$((SECONDS + LIMIT))
    until grep -qx 'EASEL_MOUSE(100, -100);' "$work/EASEL.SCR" 2>/dev/null; do
      [ $SECONDS -ge $deadline ] && fail "EASEL.SCR holds no line for the click: $(cat "$work/EASEL.SCR" 2>&1)"
      sleep 0.2
    done
    ;;
  melt_and_exit)
    play
    click_at -250 -17  # "Change Season": spring melts the snowman
    expect_colour 100 -100 "$ICE_BLUE" "melted screen"
    xdotool key x
    expect_exit 0 "a key on the melted screen"
    ;;
  close_window)
    play
    "$x11_tool" close "EASEL Graphics" || fail "cannot ask the graphics window to close"
    expect_exit 0 "closing the graphics window"
    ;;
  scaled_desktop)
    # A desktop at twice the size (run on a 2048 x 1536 screen): the game sees 1024 x 768 and
    # its pixels are shown two by two.
    "$x11_tool" resources "Xft.dpi: 192" || fail "cannot set the desktop's resources"
    scale=2
    play
    geometry=$(xdotool getwindowgeometry "$window" | tail -n 1 | tr -d ' ')
    [ "$geometry" = "Geometry:1202x1080" ] || fail "graphics window on screen: $geometry"
    text=$(xdotool search --name '^EASEL Text$' | head -n 1)
    [ -n "$text" ] || fail "no text window"
    geometry=$(xdotool getwindowgeometry "$text" | tail -n 2 | tr -d ' ' | tr '\n' ' ')
    [ "$geometry" = "Position:0,1026(screen:0) Geometry:2048x512 " ] ||
      fail "text window on screen: $geometry"
    click_at -250 -17  # "Change Season"
    expect_colour 100 -100 "$BROWN" "spring ground"
    ;;
  *)
    fail "no such scenario"
    ;;
esac
echo "PASS ($scenario)"
