#!/usr/bin/env bash
# Builds every test with AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/
# (apart from the normal build, so both stay incremental) and runs them.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here/.."
"$here/setup.sh"
if [ ! -f build-sanitize/build.ninja ]; then
  cmake -S . -B build-sanitize -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZP_SANITIZE=ON -DZP_BUILD_BENCH=OFF
fi
cmake --build build-sanitize
# A fault anywhere stops the test that met it.
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-sanitize --output-on-failure -j "$(nproc)"
