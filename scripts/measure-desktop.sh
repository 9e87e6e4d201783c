#!/usr/bin/env bash
# Measures the game on a desktop of its own (an Xvfb server, no window manager): the share of
# one core that the game's process uses while the snowmen run and while the game is halted
# (Ctrl+H), each from /proc/PID/stat over 20 s, then the pacing of periodic events as
# tools/pacing_probe sees it over 10 s, next to a plain thread sleeping to the same grid (the
# machine's own noise). Builds what is missing first.
# Usage: scripts/measure-desktop.sh [BUILD_DIR]   (default build/release)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}

if [ "${MEASURE_INSIDE_XVFB:-}" != 1 ]; then
  if [ ! -x "$build/app/virtual-chilly" ] || [ ! -x "$build/tools/pacing_probe" ]; then
    [ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
    cmake --build "$build" -j "$(nproc)" --target virtual-chilly pacing_probe
  fi
  MEASURE_INSIDE_XVFB=1 exec tests/e2e/xvfb_run.sh --limit 180 "$0" "$build"
fi

game=$(realpath "$build/app/virtual-chilly")
probe=$(realpath "$build/tools/pacing_probe")
work=$(mktemp -d)
game_pid=
cleanup() {
  if [ -n "$game_pid" ] && kill -0 "$game_pid" 2>/dev/null; then kill "$game_pid"; fi
  rm -rf "$work"
}
trap cleanup EXIT

ticks_per_second=$(getconf CLK_TCK)
# User plus system CPU time of a process in clock ticks (fields 14 and 15 of its stat line,
# counted after the command name, which is in parentheses).
cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }

# Percent of one core used by the process over the given number of seconds.
cpu_share() {
  local pid=$1 seconds=$2 t0 t1 w0 w1
  t0=$(cpu_ticks "$pid")
  w0=$(date +%s.%N)
  sleep "$seconds"
  t1=$(cpu_ticks "$pid")
  w1=$(date +%s.%N)
  awk -v t="$((t1 - t0))" -v hz="$ticks_per_second" -v w0="$w0" -v w1="$w1" \
    'BEGIN { printf "%.2f", 100 * t / hz / (w1 - w0) }'
}

(cd "$work" && exec "$game") >"$work/game.log" 2>&1 &
game_pid=$!
window=$(timeout 10 xdotool search --sync --name '^EASEL Graphics$' | head -n 1)
sleep 1
xdotool windowfocus --sync "$window"
xdotool key space
sleep 2
running=$(cpu_share "$game_pid" 20)
xdotool key ctrl+h
sleep 1
halted=$(cpu_share "$game_pid" 20)
xdotool key ctrl+q
wait "$game_pid" || true
game_pid=

echo "Load average of the machine (1, 5, 15 min): $(cut -d' ' -f1-3 /proc/loadavg)"
echo "CPU of the game's process, share of one core:"
echo "  running (a periodic event every 100 ms, full redraw): ${running}% over 20 s"
echo "  halted (Ctrl+H): ${halted}% over 20 s"
echo "Pacing (pacing_probe, 10 s, a full frame drawn on each periodic event):"
(cd "$work" && "$probe" baseline 10) | sed 's/^/  /'
