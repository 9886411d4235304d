#!/usr/bin/env bash
# Draws the shipped templates anew: banner projects and picture templates into resources/, then
# each project's GIF preview with the program's own conversion ("/a"), so that the previews show
# what the program makes of the projects today. Commit the result.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here/.."
"$here/setup.sh"
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build build --target zp-make-templates zelk-pixaro

banners=resources/Vorlagen
pictures=resources/Bildvorlagen
# A design that was dropped must not stay behind.
rm -rf "$banners" "$pictures"
build/tools/make-templates/zp-make-templates "$banners" "$pictures"

# The conversion makes its application-data folder ready: a scratch one, not the user's.
export XDG_CONFIG_HOME
XDG_CONFIG_HOME="$(mktemp -d)"
trap 'rm -rf "$XDG_CONFIG_HOME"' EXIT
find "$banners" -name '*.dgm' -print0 | sort -z | while IFS= read -r -d '' project; do
  build/app/zelk-pixaro /a "$project" "${project%.dgm}.gif"
done
du -sh "$banners" "$pictures"
