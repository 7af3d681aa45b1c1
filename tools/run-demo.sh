#!/usr/bin/env bash
# Builds Varnolix and starts it in its demo mode: a writable copy of the demo
# data, the simulated DCC box on a pseudo-terminal (port 5) and the simulated
# K8055 board. Every frame the program sends is printed here, decoded.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh

cmake -S . -B build -G Ninja >/dev/null
cmake --build build -j "$(nproc)"

demo=build/demo
mkdir -p "$demo"
# A fresh copy of the program and its data each time: the repository and the
# normal build stay untouched, whatever the demo run changes.
rm -rf "$demo/data"
cp build/varnolix build/varnolix-k8055-guard "$demo/"
cmake -DSOURCE=data -DDESTINATION="$demo/data" -P cmake/CopyData.cmake
cp -r demo/text/. "$demo/data/text/"
[ -f build/telephone.wav ] && cp build/telephone.wav "$demo/"

link="$PWD/$demo/dccbox.tty"
build/tools/dccbox/varnolix-dccbox --link "$link" --delay "${VARNOLIX_DEMO_DELAY:-16}" &
box=$!
trap 'kill $box 2>/dev/null; wait $box 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done

export VARNOLIX_PORT_5="$link"
export VARNOLIX_SIMULATED_BOARD=1
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display found: running under Xvfb (set DISPLAY to see the windows)."
  xvfb-run -a -s "-screen 0 1280x1024x24" "$demo/varnolix"
else
  "$demo/varnolix"
fi
