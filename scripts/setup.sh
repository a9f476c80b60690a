#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev
  qt6-base-dev qt6-svg-dev libgl-dev libjpeg-dev zlib1g-dev libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 xvfb xauth
  openbox dbus at-spi2-core python3-pyatspi x11-utils xdotool
  libcups2-dev cups printer-driver-cups-pdf poppler-utils librsvg2-bin
  desktop-file-utils shared-mime-info libglib2.0-bin groff-base
  python3-jsonschema appstream lintian dpkg-dev file
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
