# What the end-to-end scripts that drive a program on an X server share (game_e2e.sh,
# windows/wine_e2e.sh, windows/examples_e2e.sh source it): a scratch folder, failing with the
# screen and the program's output kept, screenshots and colours at drawing points, and waiting.
# Every wait polls until what it waits for is there, for LIMIT seconds at most: a loaded machine
# only makes a script slower, never wrong, and no step hangs.
#
# The sourcing script sets `label` (named in every failure, and in the saved screen's name), `pid`
# when it starts the program, `log` (the program's output, shown on failure) and defines:
#   screen_x X, screen_y Y   the screen pixel of a drawing point
#   client_geometry          the client area on screen, as ImageMagick's WxH+X+Y
#   cleanup_more             (optional) more to undo at exit
# shellcheck shell=bash

LIMIT=60
work=$(mktemp -d)
artifacts=${CHILLY_ARTIFACTS:-$work}
label=
pid=
log=
seen=  # what a check saw last, added to its failure

cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then kill -9 "$pid"; fi
  if declare -F cleanup_more >/dev/null; then cleanup_more; fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL ($label): $*" >&2
  if [ -f "$work/shot.png" ]; then
    local saved="$artifacts/e2e-${label// /-}.png"
    mkdir -p "$artifacts" && cp "$work/shot.png" "$saved" && echo "screen saved as $saved" >&2
  fi
  if [ -n "$log" ] && [ -f "$log" ]; then sed 's/^/program: /' "$log" >&2; fi
  exit 1
}

# Runs the command until it succeeds; after LIMIT seconds fails with WHAT (and what the check
# last saw, if it set `seen`).
wait_for() {
  local what=$1 deadline=$((SECONDS + LIMIT))
  shift
  seen=
  until "$@"; do
    [ $SECONDS -ge $deadline ] && fail "$what${seen:+: $seen}"
    sleep 0.2
  done
}

shot() { import -window root "$work/shot.png" || fail "cannot take a screenshot"; }

# Colour "r,g,b" of a drawing point in the last screenshot.
colour_at() {
  local x y
  x=$(screen_x "$1") y=$(screen_y "$2")
  convert "$work/shot.png" -format \
    "%[fx:int(255*p{$x,$y}.r+0.5)],%[fx:int(255*p{$x,$y}.g+0.5)],%[fx:int(255*p{$x,$y}.b+0.5)]" info:
}

# True when drawing point (x, y) shows the colour now.
shows_colour() {
  local got
  shot
  got=$(colour_at "$1" "$2")
  seen="($1, $2) is $got, not $3"
  [ "$got" = "$3" ]
}
expect_colour() { wait_for "$4" shows_colour "$1" "$2" "$3"; }

# The client area's pixels as they are on screen now, raw 8-bit RGB, into FILE ("-": out).
client_pixels() {
  shot
  convert "$work/shot.png" -crop "$(client_geometry)" +repage -depth 8 "rgb:$1"
}
client_hash() { client_pixels - | md5sum | cut -d' ' -f1; }
client_differs() { [ "$(client_hash)" != "$1" ]; }
# Waits until the client area differs from the fingerprint given.
expect_change() { wait_for "$2" client_differs "$1"; }

click_at() { xdotool mousemove "$(screen_x "$1")" "$(screen_y "$2")" click 1; }

# The X window of this title (a regular expression), once there is one; fails after LIMIT. A
# search walks every window and gives up on one that goes away meanwhile (a program's that
# ended), so it is asked again.
has_window() { window=$(xdotool search --name "$1" 2>/dev/null | head -n 1) && [ -n "$window" ]; }
has_no_window() { [ -z "$(xdotool search --name "$1" 2>/dev/null)" ]; }
find_window() { wait_for "no window \"$1\" appeared" has_window "$1"; }
expect_no_window() { wait_for "a window \"$1\" is still there" has_no_window "$1"; }

# Waits for the program to end and checks its exit status.
has_ended() { ! kill -0 "$pid" 2>/dev/null; }
expect_exit() {
  local want=$1 what=$2 status
  wait_for "$what: the program is still running after $LIMIT s" has_ended
  wait "$pid"
  status=$?
  pid=
  [ "$status" -eq "$want" ] || fail "$what: exit status $status, not $want"
}
