#!/usr/bin/env bash
# Builds an optimised tree and runs every benchmark; medians are reported.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DVARNOLIX_TESTS=OFF >/dev/null
cmake --build build-bench -j "$(nproc)"
export QT_QPA_PLATFORM=offscreen
for bench in build-bench/bench/*_bench; do
  echo "== $(basename "$bench")"
  "$bench" --benchmark_counters_tabular=true
done
