#!/usr/bin/env bash
# Builds the message probes with mingw-w64, runs them under Wine (null graphics driver) and
# natively against our window system (headless), and compares the "name=value" lines they print.
# Lines named in known_differences.txt may differ (each is listed); any other difference fails.
# Usage: tests/wine/message_probes/compare_probes.sh NATIVE_PROBES_BINARY OUT_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../../.." && pwd)
native=$1
out=$2
mkdir -p "$out"
x86_64-w64-mingw32-gcc-posix -O1 -Wall -Werror -o "$out/probes.exe" "$here/probes.c" \
  "$here/probe_input_win32.c" -luser32 -lgdi32
# Each side is bounded: a probe that hangs fails the comparison instead of the whole run.
timeout 120 "$root/scripts/wine.sh" "$out/probes.exe" | tr -d '\r' > "$out/wine.txt"
timeout 120 "$native" > "$out/ours.txt"
known=$(sed -e 's/#.*//' -e 's/[[:space:]]*$//' -e '/^$/d' "$here/known_differences.txt")
status=0
while IFS= read -r line; do
  name=${line%%=*}
  theirs=$(grep -m1 "^$name=" "$out/ours.txt" || true)
  if [ "$line" = "$theirs" ]; then continue; fi
  if grep -qxF "$name" <<< "$known"; then
    echo "known difference: Wine '$line', ours '${theirs:-(missing)}'"
  else
    echo "DIFFERENCE: Wine '$line', ours '${theirs:-(missing)}'"
    status=1
  fi
done < "$out/wine.txt"
extra=$(cut -d= -f1 "$out/ours.txt" | grep -vxFf <(cut -d= -f1 "$out/wine.txt") || true)
if [ -n "$extra" ]; then
  echo "DIFFERENCE: only ours printed: $extra"
  status=1
fi
[ "$status" = 0 ] && echo "message probes: $(wc -l < "$out/wine.txt") lines, Wine and ours agree"
exit "$status"
