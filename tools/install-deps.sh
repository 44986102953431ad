#!/usr/bin/env bash
# Installs the Debian packages that building and testing Tavren needs.
# Idempotent: installs only what is missing, and does nothing when all is there.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format clang libclang-rt-14-dev
  libsdl2-dev libx11-dev libxfixes-dev libegl-dev libgl-dev libglu1-mesa-dev libgl1-mesa-dri libegl-mesa0
  libjpeg62-turbo-dev libpng-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  g++-mingw-w64-x86-64 wine wine64
  xvfb xdotool x11-utils imagemagick
  sox libsox-fmt-mp3 lame gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
  fonts-ipafont-gothic
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$package" 2>/dev/null || true)
  [ "$status" = "installed" ] || missing+=("$package")
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
