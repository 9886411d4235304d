#!/usr/bin/env bash
# Installs the tools the GIF export is compared with. Only the benchmark needs them, so they
# are not part of scripts/setup.sh. Safe to run again.
set -euo pipefail

packages=(imagemagick graphicsmagick ffmpeg)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
