#!/usr/bin/env bash
# Checks a built Debian package: its name, the files it holds, the
# dependencies computed from its binaries, its maintainer script, and, where
# lintian is installed, that lintian finds no error.
# Usage: tests/package/check-deb.sh build-package/varnolix_<version>_<arch>.deb
set -uo pipefail
deb=${1:?usage: $0 varnolix_VERSION_ARCH.deb}
failures=0
passes=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; passes=$((passes + 1)); }

field() { dpkg-deb -f "$deb" "$1"; }
version=$(field Version)
arch=$(field Architecture)
[ "$(basename "$deb")" = "varnolix_${version}_${arch}.deb" ] && pass "named varnolix_${version}_${arch}.deb" \
  || fail "file name $(basename "$deb") is not varnolix_${version}_${arch}.deb"
[ "$arch" = "$(dpkg --print-architecture)" ] && pass "architecture $arch" || fail "architecture $arch"

files=$(dpkg-deb -c "$deb" | awk '{ $1=$2=$3=$4=$5=""; sub(/^ +/, ""); print }')
module_dir=usr/lib/$(dpkg-architecture -qDEB_HOST_MULTIARCH)/varnolix
for path in \
  ./usr/bin/varnolix ./usr/bin/varnolix-dccbox ./usr/bin/varnolix-k8055-guard "./$module_dir/libvarnolix_sound.so" \
  "./$module_dir/libvarnolix_dcc_link.so" "./$module_dir/libvarnolix_phones.so" \
  "./usr/share/varnolix/data/Layouts/Millbrook Junction.bmp" ./usr/share/varnolix/data/VM110/KnobFwd0.bmp \
  ./usr/share/varnolix/data/VM110/LocoLogo.bmp ./usr/share/varnolix/data/text/varnohelp.rtf \
  ./usr/share/varnolix/data/text/function.txt ./usr/share/varnolix/telephone.wav \
  ./usr/share/varnolix/demo/text/version.txt ./usr/share/varnolix/demo/text/loco.txt \
  ./usr/share/applications/varnolix.desktop ./usr/share/icons/hicolor/scalable/apps/varnolix.svg \
  ./usr/share/icons/hicolor/16x16/apps/varnolix.png ./usr/share/icons/hicolor/256x256/apps/varnolix.png \
  ./lib/udev/rules.d/60-varnolix-k8055.rules ./usr/share/doc/varnolix/README.md \
  ./usr/share/doc/varnolix/copyright ./usr/share/doc/varnolix/changelog.gz \
  ./usr/share/man/man1/varnolix.1.gz ./usr/share/man/man1/varnolix-dccbox.1.gz \
  ./usr/share/man/man1/varnolix-k8055-guard.1.gz \
  ./usr/share/metainfo/varnolix.metainfo.xml; do
  grep -qxF "$path" <<<"$files" && pass "holds $path" || fail "lacks $path"
done
# Nothing of the build or the tests, no user settings among the shipped data.
for unwanted in '_tests$' '/include/' '\.a$' '/data/text/version\.txt$' '/data/udev/'; do
  ! grep -qE "$unwanted" <<<"$files" && pass "nothing matching $unwanted" || fail "holds files matching $unwanted"
done

depends=$(field Depends)
# libqt6multimedia6 comes from the sound module alone: dpkg-shlibdeps reads it too.
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6serialport6 libqt6multimedia6 \
               libqt6dbus6 libqt6network6 libhidapi-libusb0; do
  grep -qE "(^|, )${library//+/\\+}( |,|$)" <<<"$depends" && pass "depends on $library" || fail "Depends lacks $library: $depends"
done

control=$(mktemp -d)
trap 'rm -rf "$control"' EXIT
dpkg-deb -e "$deb" "$control"
# postinst against a stand-in udevadm that only notes its calls, then with none.
mkdir "$control/bin"
printf '#!/bin/sh\necho "$*" >>"%s"\nexit 1\n' "$control/udevadm.calls" >"$control/bin/udevadm"
chmod +x "$control/bin/udevadm"
PATH="$control/bin:/usr/bin:/bin" /bin/sh "$control/postinst" configure \
  && grep -qx "control --reload-rules" "$control/udevadm.calls" \
  && pass "postinst reloads the udev rules, and a failing udevadm does not stop it" \
  || fail "postinst with udevadm: $(cat "$control/udevadm.calls" 2>/dev/null)"
PATH=/nonexistent /bin/sh "$control/postinst" configure && pass "postinst runs without udevadm" \
  || fail "postinst fails without udevadm"

dpkg-deb -x "$deb" "$control/root"
# The modules: where the program looks for them (a path relative to the
# program's folder, kept in the program as UTF-16), each with its factory;
# Qt Multimedia, Serial Port and Network are loaded with them, never with the
# program.
looks=$(strings -el "$control/root/usr/bin/varnolix" | grep -xE '(\.\./)+.*/varnolix' | head -n1)
[ -n "$looks" ] && [ "$(realpath -m "$control/root/usr/bin/$looks")" = "$(realpath -m "$control/root/$module_dir")" ] \
  && pass "the program looks for its modules in /$module_dir" \
  || fail "the program looks for its modules in '$looks' (from /usr/bin), not in /$module_dir"
for module in sound:varnolix_create_sound dcc_link:varnolix_create_dcc_link phones:varnolix_create_phone_service; do
  nm -D --defined-only "$control/root/$module_dir/libvarnolix_${module%%:*}.so" | grep -qw "${module#*:}" \
    && pass "the ${module%%:*} module exports ${module#*:}" || fail "the ${module%%:*} module lacks ${module#*:}"
done
! readelf -d "$control/root/usr/bin/varnolix" | grep NEEDED | grep -qiE 'multimedia|network|serialport|dbus' \
  && pass "the program links neither Qt Multimedia, Network, Serial Port nor D-Bus" \
  || fail "the program links Qt Multimedia, Network, Serial Port or D-Bus"
desktop-file-validate "$control/root/usr/share/applications/varnolix.desktop" \
  && pass "desktop entry passes desktop-file-validate" || fail "desktop entry"

if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" >"$control/lintian" 2>&1 && pass "lintian finds no error" \
    || { cat "$control/lintian"; fail "lintian errors"; }
  grep -E '^[EW]:' "$control/lintian" | sed 's/^/lintian: /'
fi

echo "package: $passes passed, $failures failed"
[ "$failures" -eq 0 ]
