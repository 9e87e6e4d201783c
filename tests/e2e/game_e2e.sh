#!/usr/bin/env bash
# End-to-end scenarios of the real game on an X server (xvfb_run.sh gives each its own, except
# no_display): the game runs in a fresh working directory, xdotool types and clicks, and the
# screen is read back with ImageMagick. The graphics window sits at (0, 0) with its 20-pixel menu
# bar on top, so client (0, 0) is screen (0, 20) and drawing point (x, y) is screen
# (300 + x, 280 - y), each times the desktop's scale. Every check polls until what it waits for
# shows, for a minute at most (e2e_lib.sh).
# Usage: game_e2e.sh SCENARIO GAME X11_TOOL
set -uo pipefail

scenario=$1
game=$2
x11_tool=$3
scale=1
# shellcheck source=tests/e2e/e2e_lib.sh
source "$(dirname "$0")/e2e_lib.sh"
# shellcheck source=tests/e2e/game_checks.sh
source "$(dirname "$0")/game_checks.sh"
label=$scenario
log=$work/game.log

screen_x() { echo $(((300 + $1) * scale)); }
screen_y() { echo $(((280 - $1) * scale)); }
client_geometry() { echo "$((601 * scale))x$((520 * scale))+0+$((20 * scale))"; }

# A click at a point of the screen given in the program's own pixels.
click_screen() { xdotool mousemove $(($1 * scale)) $(($2 * scale)) click 1; }

start_game() {
  (cd "$work" && exec "$game") >"$log" 2>&1 &
  pid=$!
  find_window '^EASEL Graphics$'
  expect_title_screen
}

play() {
  start_game
  start_winter
}

# The Run menu's popup covers this point of the sky.
run_menu_open() { shot && [ "$(colour_at -150 240)" != "$ICE_BLUE" ]; }
# The picture stands still for a whole second (it may take a moment to get there).
stands_still() {
  local first
  first=$(client_hash)
  sleep 1
  [ "$(client_hash)" = "$first" ]
}
script_has() { grep -qx "$1" "$work/EASEL.SCR" 2>/dev/null; }

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
    expect_change "$(client_hash)" "nothing moves while the game runs"
    click_screen 15 10  # "Run" at the left of the menu bar
    wait_for "the Run menu did not open" run_menu_open
    click_screen 60 51  # its second item, "Halt animation"
    wait_for "the snowmen still move after Halt animation" stands_still
    first=$(client_hash)
    xdotool key ctrl+a
    expect_change "$first" "Ctrl+A did not start the snowmen again"
    ;;
  record_script)
    play
    xdotool key ctrl+r
    click_at 100 -100
    xdotool key ctrl+r
    wait_for "EASEL.SCR holds no line for the click" script_has 'EASEL_MOUSE(100, -100);'
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
