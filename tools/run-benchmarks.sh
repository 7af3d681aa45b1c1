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
  if [ "$(basename "$bench")" = x_startup_bench ] && [ -z "${DISPLAY:-}" ]; then
    # Start-up on X wants a real display server: a virtual one will do.
    xvfb-run -a -s "-screen 0 1280x1024x24" "$bench" --benchmark_counters_tabular=true
  else
    "$bench" --benchmark_counters_tabular=true
  fi
done
