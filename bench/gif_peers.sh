#!/usr/bin/env bash
# Times the animated GIF export against ImageMagick, GraphicsMagick and ffmpeg on the same
# deterministic frames, in one run: 20 banner frames of 468 x 60 and 30 frames of 800 x 600.
# Every tool reduces to 256 colours with Floyd-Steinberg dithering and loops endlessly.
#
# Our export is timed end to end with the program's own command on the same PNG frames the peers
# read (`zelk-pixaro --gif`, median of three), and, to see where the time goes, from raw RGBA
# frames (best and median of three, all cores) with Qt's PNG decoding timed beside it.
# Work files go to $GIF_BENCH_DIR (default build/gif-bench).
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/.." && pwd)"

"$here/setup-peers.sh"
"$root/scripts/build.sh" >/dev/null

bench="$root/build/bench/gif_bench"
work="${GIF_BENCH_DIR:-$root/build/gif-bench}"
rm -rf "$work"
mkdir -p "$work"
"$bench" generate "$work"

# The distribution's ImageMagick, not whatever else is called convert on the PATH.
im=/usr/bin/convert
[ -x "$im" ] || im="$(command -v convert)"

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.3f", b - a }'; }
size() { stat -c %s "$1"; }

run_peer() { # name output command...
  local name="$1" out="$2"
  shift 2
  local start end
  start="$(now)"
  if ! "$@" >"$work/$name.log" 2>&1; then
    echo "$name failed, see $work/$name.log" >&2
  fi
  end="$(now)"
  peer_time["$name"]="$(elapsed "$start" "$end")"
  peer_size["$name"]="$(size "$out" 2>/dev/null || echo 0)"
}

for workload in "banner 468 60 20" "large 800 600 30"; do
  read -r name w h n <<<"$workload"
  dir="$work/$name"
  cd "$dir"
  echo
  echo "== $name: $n frames of $w x $h"
  ours_log="$("$bench" export "$dir" "$w" "$h" "$n" "$dir/ours.gif" 0 3)"
  echo "$ours_log" | grep -v '=' | sed 's/^/   /'
  ours="$(echo "$ours_log" | sed -n 's/^MEDIAN_SECONDS=//p')"
  png="$(echo "$ours_log" | sed -n 's/^PNG_SECONDS=//p')"

  # The whole command, PNG decoding included, as a user runs it.
  cli_times=()
  for _ in 1 2 3; do
    start="$(now)"
    "$root/build/app/zelk-pixaro" --gif cli.gif --delay 1000 --loops 0 --reduction rmQuantize \
      --dither dmFloydSteinberg f*.png
    cli_times+=("$(elapsed "$start" "$(now)")")
  done
  cli="$(printf '%s\n' "${cli_times[@]}" | sort -n | sed -n 2p)"

  declare -A peer_time=() peer_size=()
  run_peer imagemagick im.gif "$im" -delay 100 -loop 0 f*.png -dither FloydSteinberg -colors 256 im.gif
  # GraphicsMagick's -dither is a switch without a value (it always means Floyd-Steinberg).
  run_peer graphicsmagick gm.gif gm convert -delay 100 -loop 0 f*.png -dither -colors 256 gm.gif
  run_peer ffmpeg ff.gif ffmpeg -v error -y -framerate 1 -i f%03d.png -filter_complex \
    "split[a][b];[a]palettegen=stats_mode=single[p];[b][p]paletteuse=dither=floyd_steinberg:new=1" -loop 0 ff.gif

  fastest=""
  printf '   %-16s %9s %12s %10s\n' tool seconds bytes "x ours"
  printf '   %-16s %9s %12s %10s\n' "ours (--gif, PNG)" "$cli" "$(size cli.gif)" 1.00
  printf '   %-16s %9s %12s %10s\n' "ours (raw RGBA)" "$ours" "$(size ours.gif)" "$(awk -v a="$ours" -v b="$cli" 'BEGIN { printf "%.2f", a / b }')"
  for peer in imagemagick graphicsmagick ffmpeg; do
    t="${peer_time[$peer]}"
    printf '   %-16s %9s %12s %10s\n' "$peer" "$t" "${peer_size[$peer]}" "$(awk -v a="$t" -v b="$cli" 'BEGIN { printf "%.2f", a / b }')"
    if [ -z "$fastest" ] || awk -v a="$t" -v b="${peer_time[$fastest]}" 'BEGIN { exit !(a < b) }'; then
      fastest="$peer"
    fi
  done
  with_png="$(awk -v a="$ours" -v b="$png" 'BEGIN { printf "%.3f", a + b }')"
  echo "   fastest peer: $fastest, ${peer_time[$fastest]} s;" \
    "the --gif command end to end is $(awk -v a="${peer_time[$fastest]}" -v b="$cli" 'BEGIN { printf "%.2f", a / b }')x faster;" \
    "from raw RGBA $(awk -v a="${peer_time[$fastest]}" -v b="$ours" 'BEGIN { printf "%.2f", a / b }')x," \
    "$(awk -v a="${peer_time[$fastest]}" -v b="$with_png" 'BEGIN { printf "%.2f", a / b }')x with Qt's PNG decoding added ($with_png s)"
done
