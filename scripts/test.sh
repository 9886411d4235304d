#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/setup.sh"
"$here/build.sh"
ctest --test-dir "$here/../build" --output-on-failure -j "$(nproc)"
