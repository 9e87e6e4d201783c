#!/usr/bin/env bash
# Builds the fuzz targets with clang under AddressSanitizer and UndefinedBehaviorSanitizer and
# runs each one for a bounded time from its committed seed corpus (fuzz/corpus/<target>/).
# What the fuzzer finds new goes to a scratch corpus, so the committed one changes only by hand.
# A crash, a leak, undefined behaviour or a hang fails the run and leaves the input that caused
# it in the build directory as crash-*, leak-* or timeout-*: commit it to the corpus and add a
# regression test for the fault.
# Usage: fuzz/run.sh [seconds per target, default 60] [build directory, default build/fuzz]
set -euo pipefail
cd "$(dirname "$0")/.."
# Absolute paths throughout: the targets change into a working directory of their own.
seconds=${1:-60}
build=$(realpath -m "${2:-build/fuzz}")
targets=(fuzz_script fuzz_drawing)

scripts/deps.sh clang-14 libclang-rt-14-dev
werror=OFF
[ "${CI:-}" = true ] && werror=ON
CC=clang-14 CXX=clang++-14 cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCHILLY_FUZZ=ON -DCHILLY_SANITIZE=ON -DCHILLY_E2E=OFF -DCHILLY_WERROR=$werror >/dev/null
cmake --build "$build" -j "${JOBS:-2}" --target "${targets[@]}"

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for target in "${targets[@]}"; do
  mkdir -p "$scratch/$target"
  echo "== $target: ${seconds} s"
  nice "$build/fuzz/$target" -max_total_time="$seconds" -timeout=20 -print_final_stats=1 \
    -artifact_prefix="$build/fuzz/$target-" "$scratch/$target" "$PWD/fuzz/corpus/$target"
done
