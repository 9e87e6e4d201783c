#!/usr/bin/env bash
# What a built EASEL library exports must be the calls of easel.h (the EASEL_ names it
# declares) and, for libeasel.so, the entry's main(): nothing more, nothing less.
# Usage: tests/install/exports_test.sh LIBRARY (libeasel.so or easel.dll)
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
library=$1
header=$here/../../easel/include/easel/easel.h

expected=$(grep -o '^EASEL_API int EASEL_[a-z_]*' "$header" | awk '{ print $3 }')
case "$library" in
  *.dll)
    actual=$(x86_64-w64-mingw32-objdump -p "$library" |
      sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '/^\t\[/ { print $3 }')
    ;;
  *)
    actual=$(nm -D --defined-only "$library" | awk '{ print $3 }')
    expected=$(printf '%s\nmain\n' "$expected")
    ;;
esac
[ -n "$(echo "$expected" | tr -d '[:space:]')" ] || { echo "no EASEL_API calls found in $header" >&2; exit 1; }
difference=$(diff <(echo "$expected" | sort) <(echo "$actual" | sort))
if [ -n "$difference" ]; then
  echo "$library: exports differ from easel.h's calls (< expected only, > exported only):" >&2
  echo "$difference" >&2
  exit 1
fi
echo "$library: exports the $(echo "$actual" | wc -l) expected symbols"
