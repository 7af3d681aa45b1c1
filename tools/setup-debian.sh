#!/usr/bin/env bash
# Installs the Debian 12 packages Varnolix needs to build, test and run.
# Packages already present are left alone; nothing is installed twice.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config ccache
  libgtest-dev libbenchmark-dev
  qt6-base-dev qt6-serialport-dev qt6-multimedia-dev libhidapi-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good
  xvfb xauth xdotool socat dbus-daemon imagemagick fonts-dejavu-core libxcb1-dev
  clang libclang-rt-14-dev
  dpkg-dev file lintian desktop-file-utils
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "Please run as root or install sudo: missing packages ${missing[*]}" >&2; exit 1; }
  sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
