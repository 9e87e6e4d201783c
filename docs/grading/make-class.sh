#!/usr/bin/env bash
# Builds docs/grading/class.c as a class of COPIES x 10 programs in DIR (student01, student02,
# ...; each VARIANT 0-9 COPIES times), against the library of a build tree, for trying
# easel-grade on a class: right answers, early ends, a pixel off, a crash, a hang, a fork, a
# write outside the folder, the network, a wrong colour.
# Usage: docs/grading/make-class.sh DIR [COPIES] [BUILD]   (BUILD defaults to build/release)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
out=${1:?usage: make-class.sh DIR [COPIES] [BUILD]}
copies=${2:-1}
build=$(cd "${3:-$root/build/release}" && pwd)
mkdir -p "$out"
n=0
for copy in $(seq "$copies"); do
  for variant in 0 1 2 3 4 5 6 7 8 9; do
    n=$((n + 1))
    cc -O1 -DVARIANT=$variant -I"$root/easel/include/easel" "$here/class.c" -o "$(printf '%s/student%02d' "$out" $n)" \
      -L"$build/easel" -leasel -Wl,-rpath,"$build/easel"
  done
done
echo "$n programs in $out"
