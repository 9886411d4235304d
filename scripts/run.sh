#!/usr/bin/env bash
# Installs what is missing, builds, and runs the editor with the given arguments
# (for example: /a project.dgm out.gif).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
"$here/setup.sh"
"$here/build.sh"
exec "$here/../build/app/zelk-pixaro" "$@"
