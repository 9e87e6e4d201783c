#!/usr/bin/env bash
# End-to-end scenarios of the Windows game (virtual-chilly.exe) under Wine on an X server
# (run it through tests/e2e/xvfb_run.sh): xdotool types and clicks as the desktop tests do, and
# the screen is read back with ImageMagick. Wine draws the title bar, frame and menu bar by its
# own metrics and the game's drawing origin is the middle of its client area, so each game start
# asks Windows where the client area is (window_place.exe) and drawing point (x, y) is then
# screen (left + width / 2 + x, top + height / 2 - y). Every check polls until what it waits for
# shows, for a minute at most (tests/e2e/e2e_lib.sh).
# Usage: wine_e2e.sh GAME.exe WINDOW_PLACE.exe X11_TOOL EASEL_RUN LINUX_GAME [SCENARIO...]
# Scenarios: play_and_menus melt_and_exit close_window replay_on_linux replay_from_linux (all by
# default).
# WINEPREFIX is the prefix with the X11 driver (scripts/windows-deps.sh makes it).
set -uo pipefail

here=$(cd "$(dirname "$0")" && pwd)
wine="$here/../../scripts/wine.sh"
game=$(realpath "$1")
window_place=$(realpath "$2")
x11_tool=$3
easel_run=$4
linux_game=$5
shift 5
scenarios=("$@")
[ ${#scenarios[@]} -gt 0 ] ||
  scenarios=(play_and_menus melt_and_exit close_window replay_on_linux replay_from_linux)
: "${WINEPREFIX:?the X11 Wine prefix}"
export WINEPREFIX

# shellcheck source=tests/e2e/e2e_lib.sh
source "$here/../e2e/e2e_lib.sh"
# shellcheck source=tests/e2e/game_checks.sh
source "$here/../e2e/game_checks.sh"
log=$work/run/game.log
cleanup_more() { /usr/lib/wine/wineserver -k 2>/dev/null; }

# Screen position of drawing point (x, y), and the client area, where place_window found them.
screen_x() { echo $((client_left + client_width / 2 + $1)); }
screen_y() { echo $((client_top + client_height / 2 - $1)); }
client_geometry() { echo "${client_width}x${client_height}+$client_left+$client_top"; }

click_screen() { xdotool mousemove "$1" "$2" click 1; }

# "Run" on the menu bar: its left end, in the middle of the bar above the client area.
click_run_menu() { click_screen $((client_left + 15)) $((client_top - 10)); }

# The Run menu's popup: a window of the game's without a title, mapped while the menu is open.
popup_geometry() {
  local windows
  windows=$(xwininfo -root -children 2>/dev/null) || return 1
  awk '/\(has no name\): \("virtual-chilly.exe"/ && $0 !~ / 1x1\+/ { print $(NF - 1); exit }' \
    <<<"$windows"
}
popup_shown() { popup=$(popup_geometry) && [ -n "$popup" ]; }
popup_gone() { local geometry; geometry=$(popup_geometry) && [ -z "$geometry" ]; }
expect_popup() { wait_for "$1" popup_shown; }
expect_no_popup() { wait_for "$1" popup_gone; }

# Where Windows put the window of this title: sets outer_* and client_*.
place_window() {
  local place
  place=$("$wine" "$window_place" "$1") || fail "window_place cannot find \"$1\""
  place=${place//$'\r'/}  # a Windows program's line ends
  read -r outer_left outer_top outer_right outer_bottom client_left client_top client_width \
    client_height <<<"$place"
}

start_game() {
  expect_no_window '^EASEL (Graphics|Text)$'

  rm -rf "$work/run" && mkdir -p "$work/run"
  (cd "$work/run" && exec "$wine" "$game") >"$log" 2>&1 &
  pid=$!
  find_window '^EASEL Text$'
  find_window '^EASEL Graphics$'
  place_window "EASEL Graphics"
  [ "$outer_left $outer_top $outer_right $outer_bottom" = "0 0 601 540" ] ||
    fail "graphics window at $outer_left $outer_top $outer_right $outer_bottom, not 0 0 601 540"
  expect_title_screen
}

play() {
  start_game
  start_winter
}

# The script file's lines (with CR LF taken as LF, as the package reads them).
script_lines() { tr -d '\r' <"$work/run/EASEL.SCR" 2>/dev/null; }

script_is() {
  seen="EASEL.SCR holds \"$(cat "$work/run/EASEL.SCR" 2>&1)\""
  [ "$(script_lines)" = "$1" ]
}
script_ends_with() {
  seen="EASEL.SCR holds \"$(cat "$work/run/EASEL.SCR" 2>&1)\""
  [ "$(script_lines | tail -n 1)" = "$1" ]
}
# Waits until the script file is exactly the text given.
expect_script() { wait_for "$2" script_is "$1"; }
# Waits until the script file's last line is the one given (the recording has ended).
expect_script_ends() { wait_for "EASEL.SCR does not end with $1" script_ends_with "$1"; }

play_and_menus() {
  play
  # The text window across the bottom third of the screen, where the package asked for it.
  place_window "EASEL Text"
  [ "$outer_left $outer_top $outer_right $outer_bottom" = "0 513 1024 769" ] ||
    fail "text window at $outer_left $outer_top $outer_right $outer_bottom, not 0 513 1024 769"
  place_window "EASEL Graphics"

  # Alt+R opens the Run menu; Esc closes the popup and a second Esc leaves the menu bar.
  xdotool key alt+r
  expect_popup "Alt+R did not open the Run menu"
  xdotool key Escape
  expect_no_popup "Esc did not close the Run menu"
  xdotool key Escape

  # By mouse: "Run", then its second item, "Halt animation" (Wine's items are 16 pixels high
  # below a 3-pixel edge).
  click_run_menu
  expect_popup "a click on Run did not open the Run menu"
  local x y
  x=${popup#*+} y=${x#*+} x=${x%+*}
  click_screen $((x + 40)) $((y + 3 + 16 + 8))
  expect_no_popup "the Run menu stayed open after a click on Halt animation"

  # Halted, only Ctrl+F moves the picture, one frame a press: a recording over two presses and a
  # click holds exactly two periodic events however long it took.
  xdotool key ctrl+r
  local before
  before=$(client_hash)
  xdotool key ctrl+f
  expect_change "$before" "Ctrl+F did not advance the halted game"
  before=$(client_hash)
  xdotool key ctrl+f
  expect_change "$before" "a second Ctrl+F did not advance the halted game"
  click_at -250 -17  # "Change Season"
  expect_colour 100 -100 "$BROWN" "spring ground"
  expect_colour 100 240 "$ICE_BLUE" "sky in spring"
  xdotool key ctrl+r
  expect_script $'EASEL_PERIODIC(2);\nEASEL_MOUSE(-250, -17);' "Ctrl+H, Ctrl+F and Ctrl+R"

  # Ctrl+P plays the script back: its click changes the season once more.
  xdotool key ctrl+p
  expect_colour 100 -100 "$GREEN" "summer ground after the playback"
  xdotool key ctrl+q
  expect_exit 0 "Ctrl+Q"
}

melt_and_exit() {
  play
  click_at -250 -17  # "Change Season": spring melts the snowman
  expect_colour 100 -100 "$ICE_BLUE" "melted screen"
  xdotool key x
  expect_exit 0 "a key on the melted screen"
}

close_window() {
  play
  "$x11_tool" close "EASEL Graphics" || fail "cannot ask the graphics window to close"
  expect_exit 0 "closing the graphics window"
}

# A script recorded here from the title on, played by easel-run on Linux, ends on the same
# picture: shapes pixel for pixel, text counted apart (the faces differ).
replay_on_linux() {
  start_game
  local started=$SECONDS before
  xdotool key ctrl+r
  xdotool key space
  expect_colour 100 -100 "$WHITE" "winter ground"
  # Five frames of the running game, then buttons (drawing points of the panel's rows).
  for _ in 1 2 3 4 5; do
    before=$(client_hash)
    expect_change "$before" "the game does not move while it runs"
  done
  click_at -250 33  # "Add Snowman"
  click_at -250 83  # "New Color"
  click_at -250 108  # "Hopping"
  before=$(client_hash)
  expect_change "$before" "the game does not move after the buttons"
  # Halted, a click on the sky (which changes nothing) is the recording's known last line.
  xdotool key ctrl+h
  click_at 100 200
  xdotool key ctrl+r
  local elapsed=$((SECONDS - started + 1))
  expect_script_ends "EASEL_MOUSE(100, 200);"
  # The 100 ms timer: at least the five frames seen, never more ticks than the time allows.
  local ticks
  ticks=$(script_lines | sed -n 's/^EASEL_PERIODIC(\([0-9]*\));$/\1/p' | paste -sd+ | bc)
  [ "${ticks:-0}" -ge 5 ] || fail "only ${ticks:-0} periodic events recorded over 5 frames"
  [ "$ticks" -le $((elapsed * 10 + 1)) ] || fail "$ticks periodic events in $elapsed s"
  # The picture stands: the halted game draws nothing more.
  client_pixels "$work/wine.rgb"
  xdotool key ctrl+q
  expect_exit 0 "Ctrl+Q"

  compare_with_linux "$work/run/EASEL.SCR"
}

# The end of a playback is the log's one line in the text window.
log_line_shown() {
  shot && [ "$(convert "$work/shot.png" -crop "$text_window" -format '%[fx:minima.r]' info:)" = 0 ]
}

# The other way: a script recorded on Linux (LF line ends) played by the game under Wine, halted
# from its title on so that nothing but the script moves it, ends on easel-run's last frame.
replay_from_linux() {
  start_game
  xdotool key ctrl+h
  cp "$here/../../docs/replay-example.scr" "$work/run/EASEL.SCR"
  place_window "EASEL Text"
  text_window=$(client_geometry)
  place_window "EASEL Graphics"
  xdotool key ctrl+p
  wait_for "the playback did not end" log_line_shown
  client_pixels "$work/wine.rgb"
  xdotool key ctrl+q
  expect_exit 0 "Ctrl+Q"
  compare_with_linux "$work/run/EASEL.SCR"
}

# Plays the script with easel-run on Linux and compares its last frame with the Wine picture.
compare_with_linux() {
  rm -rf "$work/frames"
  "$easel_run" --script "$1" --frames "$work/frames" --every 100000 \
    "$linux_game" >"$work/runner.log" 2>&1 || fail "easel-run: $(cat "$work/runner.log")"
  local last
  last=$(ls "$work/frames"/frame-*.png | tail -n 1)
  python3 "$here/compare_frames.py" "$work/wine.rgb" "$client_width" "$client_height" "$last" \
    "$artifacts/e2e-wine-$scenario-diff.png" ||
    { cp "$last" "$artifacts/e2e-wine-$scenario-linux.png" 2>/dev/null
      convert -size "${client_width}x$client_height" -depth 8 "rgb:$work/wine.rgb" \
        "$artifacts/e2e-wine-$scenario-wine.png" 2>/dev/null
      fail "pictures differ"; }
}

# One wineserver for all the scenarios, so that each game starts in about a second.
/usr/lib/wine/wineserver -p 2>/dev/null
for scenario in "${scenarios[@]}"; do
  label="wine $scenario"
  "$scenario"
  echo "PASS (wine $scenario)"
done
