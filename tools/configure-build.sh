#!/usr/bin/env bash
# Configures the one build folder `build` that the tests run in and the
# Debian package is made from: optimised with debug information, warnings as
# errors, installed under /usr with Debian's hardening flags (stack
# protector, fortified functions, read-only relocations bound at start).
# The package strips the binaries. Extra arguments go to cmake.
set -euo pipefail
cd "$(dirname "$0")/.."
flags() { DEB_BUILD_MAINT_OPTIONS=hardening=+bindnow dpkg-buildflags --get "$1"; }
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVARNOLIX_WERROR=ON -DCMAKE_INSTALL_PREFIX=/usr \
      -DCMAKE_CXX_FLAGS="$(flags CPPFLAGS) $(flags CXXFLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(flags LDFLAGS)" \
      -DCMAKE_MODULE_LINKER_FLAGS="$(flags LDFLAGS)" "$@"
