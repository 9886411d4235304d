#!/usr/bin/env bash
# Installs the tools the GIF export is compared with. Only the benchmark needs them, so they
# are not part of scripts/setup.sh. Safe to run again.
set -euo pipefail

"$(dirname "$0")/../scripts/install-packages.sh" imagemagick graphicsmagick ffmpeg
