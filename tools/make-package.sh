#!/usr/bin/env bash
# Builds the Debian package build-package/varnolix_<version>_<arch>.deb:
# an optimised build of the program, its sound module and the simulated DCC
# box, installed under /usr, with its dependencies computed from the binaries.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup-debian.sh

# Debian's hardening flags (stack protector, fortified functions, read-only
# relocations bound at start).
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+bindnow dpkg-buildflags --get "$1"; }
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
      -DVARNOLIX_TESTS=OFF -DVARNOLIX_BENCH=OFF \
      -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" \
      -DCMAKE_MODULE_LINKER_FLAGS="$(flags LDFLAGS)"
cmake --build build-package -j "$(nproc)"
rm -f build-package/varnolix_*.deb
(cd build-package && cpack -G DEB)
ls build-package/varnolix_*.deb
