# What the game's end-to-end scripts (game_e2e.sh on the desktop, tests/windows/wine_e2e.sh
# under Wine) look for on the screen: the game's colours, its title screen and its first season.
# Sourced after e2e_lib.sh, by a script that defines screen_x and screen_y for its window.

ICE_BLUE=153,255,255
WHITE=255,255,255
BLACK=0,0,0
BROWN=153,102,51
GREEN=0,255,0

# The title screen shows, then the graphics window takes the keyboard.
expect_title_screen() {
  expect_colour -250 -150 "$BLACK" "title screen background"
  expect_colour 150 -150 "$WHITE" "title screen face"
  xdotool windowfocus --sync "$window" || fail "cannot give the graphics window the keyboard"
}

# Space leaves the title screen for the winter scene.
start_winter() {
  xdotool key space
  expect_colour 100 240 "$ICE_BLUE" "sky"
  expect_colour 100 -100 "$WHITE" "winter ground"
}
