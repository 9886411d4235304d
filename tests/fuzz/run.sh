#!/usr/bin/env bash
# Builds the picture decoders' libFuzzer targets in build-fuzz/ and runs each one for a bounded
# time: tests/fuzz/run.sh [SECONDS_PER_TARGET] (default 60). Not part of the normal test run.
# Crashing, leaking or slow inputs are left in build-fuzz/findings/; once fixed, keep them in
# tests/data/malformed/ so that codec_tests feeds them to the decoders on every run.
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$root/build-fuzz"

# clang with libFuzzer and the sanitizer runtimes, and the libraries the codecs use.
"$root/scripts/install-packages.sh" clang libclang-rt-14-dev cmake ninja-build libpng-dev libjpeg62-turbo-dev \
  libgif-dev zlib1g-dev

cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j 2

"$build/make_seeds" "$build/seeds"
mkdir -p "$build/findings"

status=0
for target in PNG GIF BMP JPEG PictureString; do
  seeds="$build/seeds/$(echo "$target" | tr '[:upper:]' '[:lower:]' | sed 's/picturestring/string/')"
  corpus="$build/corpus/$target"
  mkdir -p "$corpus" "$seeds"
  echo "== $target for ${seconds}s"
  # -timeout: one input may take at most 10 s; -rss_limit_mb: a decoder may not hog memory.
  if ! "$build/fuzz_$target" "$corpus" "$seeds" "$root/tests/data/malformed" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=65536 \
      -artifact_prefix="$build/findings/$target-" -print_final_stats=1 2>"$build/$target.log"; then
    status=1
    echo "   FAILED: see $build/$target.log and $build/findings/"
    grep -E "ERROR|SUMMARY|Test unit written" "$build/$target.log" | head -5 || true
  else
    grep -E "stat::number_of_executed_units|cov:" "$build/$target.log" | tail -2 || true
  fi
done
exit $status
