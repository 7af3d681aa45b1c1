#!/usr/bin/env bash
# Builds Varnolix and starts it in its demo mode (`varnolix --demo`): a fresh
# temporary data folder with the demo settings, the simulated DCC box on a
# pseudo-terminal (port 5) and the simulated K8055 board. Every frame the
# program sends and every change of the board's outputs is printed here.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh

cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)" --target varnolix varnolix-k8055-guard

if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: running under Xvfb (set DISPLAY to see the windows)."
  exec xvfb-run -a -s "-screen 0 1280x1024x24" build/varnolix --demo "$@"
fi
exec build/varnolix --demo "$@"
