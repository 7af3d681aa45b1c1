#!/usr/bin/env bash
# Builds Varnolix and runs every test headless: once in a normal build with
# warnings as errors (the installed program included), then the Debian
# package's checks, then once with the address and undefined-behaviour
# sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

cmake -S . -B build -G Ninja -DVARNOLIX_WERROR=ON
cmake --build build -j "$jobs"
(cd build && ctest -j "$jobs" --output-on-failure)

# The Debian package: an optimised build of its own, checked with dpkg-deb
# and lintian (set VARNOLIX_SKIP_PACKAGE=1 to skip).
if [ "${VARNOLIX_SKIP_PACKAGE:-0}" != 1 ]; then
  tools/make-package.sh
  tests/package/check-deb.sh build-package/varnolix_*.deb
fi

if [ "${VARNOLIX_SKIP_SANITIZERS:-0}" != 1 ]; then
  cmake -S . -B build-asan -G Ninja -DVARNOLIX_WERROR=ON -DVARNOLIX_SANITIZE=ON -DVARNOLIX_BENCH=OFF \
        -DCMAKE_BUILD_TYPE=Debug
  cmake --build build-asan -j "$jobs"
  # Qt's own libraries are not built with the sanitizer: leaks inside them are not ours.
  (cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
     ctest -j "$jobs" --output-on-failure)
fi
