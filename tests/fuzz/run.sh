#!/usr/bin/env bash
# Builds the libFuzzer targets in build-fuzz/ and runs each one for a bounded time:
#   tests/fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]
# SECONDS defaults to 60; TARGET is any of PNG GIF BMP JPEG PictureString Project (all when none
# is named). BUILD_JOBS limits the parallel compile jobs (default: one per core). Not part of the
# normal test run. Crashing, leaking or slow inputs are left in build-fuzz/findings/; once fixed,
# keep them in tests/data/malformed/ (projects in its projects/ folder) so that codec_tests and
# document_tests feed them to the readers on every run.
set -euo pipefail

all_targets=(PNG GIF BMP JPEG PictureString Project)
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all_targets[@]}")
for target in "${targets[@]}"; do
  [[ " ${all_targets[*]} " == *" $target "* ]] || { echo "unknown target: $target" >&2; exit 2; }
done

root="$(cd "$(dirname "$0")/../.." && pwd)"
build="$root/build-fuzz"
malformed="$root/tests/data/malformed"

# clang with libFuzzer and the sanitizer runtimes, the libraries the modules use, and fonts for
# the text layers of projects.
"$root/scripts/install-packages.sh" clang libclang-rt-14-dev cmake ninja-build libpng-dev libjpeg62-turbo-dev \
  libgif-dev zlib1g-dev qt6-base-dev libpugixml-dev libuemf-dev fonts-liberation2 fontconfig

cmake -S "$root/tests/fuzz" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null
cmake --build "$build" -j "${BUILD_JOBS:-$(nproc)}"

"$build/make_seeds" "$build/seeds"
mkdir -p "$build/findings"

status=0
for target in "${targets[@]}"; do
  corpus="$build/corpus/$target"
  mkdir -p "$corpus"
  if [ "$target" = Project ]; then
    # Whole projects are larger than pictures; the dictionary holds the reader's element names.
    inputs=("$build/seeds/project")
    [ -d "$malformed/projects" ] && inputs+=("$malformed/projects")
    options=(-max_len=262144 -dict="$root/tests/fuzz/project.dict")
  else
    seeds="$build/seeds/$(echo "$target" | tr '[:upper:]' '[:lower:]' | sed 's/picturestring/string/')"
    mkdir -p "$seeds"
    inputs=("$seeds" "$malformed")
    options=(-max_len=65536)
  fi
  echo "== $target for ${seconds}s"
  # -timeout: one input may take at most 10 s; -rss_limit_mb: a reader may not hog memory.
  if ! "$build/fuzz_$target" "$corpus" "${inputs[@]}" "${options[@]}" \
      -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -artifact_prefix="$build/findings/$target-" -print_final_stats=1 2>"$build/$target.log"; then
    status=1
    echo "   FAILED: see $build/$target.log and $build/findings/"
    grep -E "ERROR|SUMMARY|Test unit written" "$build/$target.log" | head -5 || true
  else
    grep -E "stat::number_of_executed_units|cov:" "$build/$target.log" | tail -2 || true
  fi
done
exit $status
