#!/usr/bin/env bash
# Runs a command against an X server of its own: starts Xvfb (1024 x 768 or the size given,
# 24-bit) on a display
# number that the server picks and reports through -displayfd, waits until it is ready, runs the
# command with DISPLAY set and for at most 50 s (or the limit given), then stops the server.
# Exits with the command's status. No window manager runs, so windows sit exactly where they are
# put.
# Usage: xvfb_run.sh [--limit SECONDS] [--screen WIDTHxHEIGHT] command [argument...]
set -uo pipefail

limit=50
screen=1024x768
while [ $# -gt 0 ]; do
  case "$1" in
    --limit) limit=$2 ;;
    --screen) screen=$2 ;;
    *) break ;;
  esac
  shift 2
done

dir=$(mktemp -d)
xvfb_pid=
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null
    wait "$xvfb_pid" 2>/dev/null
  fi
  rm -rf "$dir"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 "${screen}x24" -nolisten tcp -noreset 3>"$dir/display" 2>"$dir/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  grep -q '^[0-9]' "$dir/display" 2>/dev/null && break
  if ! kill -0 "$xvfb_pid" 2>/dev/null; then
    echo "Xvfb did not start:" >&2
    cat "$dir/xvfb.log" >&2
    exit 1
  fi
  sleep 0.1
done
display=$(head -n 1 "$dir/display")
if [ -z "$display" ]; then
  echo "Xvfb gave no display number within 10 s" >&2
  exit 1
fi

export DISPLAY=":$display"
unset WAYLAND_DISPLAY
timeout -k 5 "$limit" "$@"
