#!/usr/bin/env bash
# Builds the program and its screenshot tour, then photographs every window, dialog, palette
# mode and menu into build/tour/NN-name.png; build/tour/notes.txt lists what looks wrong.
#   --help-images   also renews the pictures of the help page in resources/help/
# Runs on the offscreen platform; set QT_QPA_PLATFORM (for example xcb under Xvfb) for another.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build --target zelk-pixaro-tour
args=(build/tour)
if [ "${1:-}" = "--help-images" ]; then
  args+=(--help-images resources/help)
fi
./build/tools/zelk-pixaro-tour "${args[@]}"
