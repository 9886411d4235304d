#!/usr/bin/env bash
# Installs every Debian package the project needs to build, test and run.
# Safe to run again: apt-get skips what is already installed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-translations-l10n
  libqt6svg6 qt6-qpa-plugins libgl-dev
  zlib1g-dev libpng-dev libjpeg62-turbo-dev libgif-dev libpugixml-dev libuemf-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fonts-dejavu-core fontconfig
  xvfb xauth x11-utils xdotool imagemagick
)

"$(dirname "$0")/install-packages.sh" "${packages[@]}"
