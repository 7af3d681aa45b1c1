#!/usr/bin/env bash
# Builds Varnolix and runs every test headless: once in the normal build
# (optimised with debug information, warnings as errors, the installed program
# included), then the Debian package made from that same build and checked,
# then once with the address and undefined-behaviour sanitizers. Prints each
# stage's time at the end.
set -euo pipefail
cd "$(dirname "$0")/.."

stages=()
stage_start=$SECONDS
# Notes the time since the previous stage ended under the given name.
stage_done() {
  stages+=("$(printf '%-22s %4d:%02d' "$1" $(((SECONDS - stage_start) / 60)) $(((SECONDS - stage_start) % 60)))")
  stage_start=$SECONDS
}
report_times() {
  echo "== stage times (min:s)"
  printf '%s\n' "${stages[@]}"
  printf '%-22s %4d:%02d\n' total $((SECONDS / 60)) $((SECONDS % 60))
}
trap report_times EXIT

tools/setup-debian.sh
stage_done "setup"

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

tools/configure-build.sh
cmake --build build -j "$jobs"
stage_done "configure+build"
(cd build && ctest -j "$jobs" --output-on-failure)
stage_done "tests"

# The Debian package from the build above, checked with dpkg-deb and lintian
# (set VARNOLIX_SKIP_PACKAGE=1 to skip).
if [ "${VARNOLIX_SKIP_PACKAGE:-0}" != 1 ]; then
  tools/make-package.sh
  tests/package/check-deb.sh build-package/varnolix_*.deb
  stage_done "package"
fi

# Only what the tests run: no benchmarks, no artwork, no package. Line
# tables (-g1) are all a sanitizer's report needs, and compile faster.
if [ "${VARNOLIX_SKIP_SANITIZERS:-0}" != 1 ]; then
  cmake -S . -B build-asan -G Ninja -DVARNOLIX_WERROR=ON -DVARNOLIX_SANITIZE=ON -DVARNOLIX_BENCH=OFF \
        -DVARNOLIX_ARTWORK=OFF -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG=-g1
  cmake --build build-asan -j "$jobs"
  stage_done "sanitizer build"
  # Qt's own libraries are not built with the sanitizer: leaks inside them are not ours.
  (cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
     ctest -j "$jobs" --output-on-failure)
  stage_done "sanitizer tests"
fi
