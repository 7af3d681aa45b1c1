#!/usr/bin/env bash
# Builds the Debian package build-package/varnolix_<version>_<arch>.deb from
# the build folder the tests run in (see tools/configure-build.sh): the
# program, its modules and the simulated DCC box, installed under /usr,
# stripped, with their dependencies computed from the binaries. After
# tools/run-tests.sh there is nothing left to compile.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh
tools/configure-build.sh >/dev/null
cmake --build build -j "$(nproc)"
rm -f build-package/varnolix_*.deb
(cd build && cpack -G DEB -B "$PWD/../build-package")
ls build-package/varnolix_*.deb
