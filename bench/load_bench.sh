#!/usr/bin/env bash
# Loading a two-segment film (885 x 638, 32 bits, LZMA, about 14 MB of frame data
# per segment, drawn from the demo scenes) with the player's LoadFilm under Wine,
# against the same work done natively by standard tools: the packed payloads
# copied, decoded by `xz --format=lzma -dc`, and the decoded blocks copied into
# new files (the same byte counts the loader copies). Prints the medians of
# several loads of each (after one uncounted warm-up of each) and their ratio.
#   bench/load_bench.sh [loads, default 7]
set -euo pipefail

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
loads=${1:-7}
bash "$repo/scripts/build.sh" native bench_films >/dev/null
bash "$repo/scripts/build.sh" win load_bench >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/load_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
"$repo/build/native/bench/bench_films" load "$work/film" >"$work/film.txt"
winpath() { local p=${1//\//\\}; echo "Z:$p"; }

# --- the player's loader under Wine; its temporary folders on the same disk as the native run's files
mkdir "$work/wine-temp"
payloads=()
while read -r name _; do payloads+=("$(winpath "$work/film/$name")"); done <"$work/film/blocks.txt"
"$repo/scripts/wine-run.sh" --timeout 900 "$repo/build/win/bench/load_bench.exe" \
  "$(winpath "$work/film/load.zef")" "$(winpath "$work/wine-temp")\\" "$loads" "${payloads[@]}" >"$work/wine.txt"

# --- natively: copy, decode, copy the blocks, for both segments
now_us() { echo "${EPOCHREALTIME/./}"; }
native=() decoding=()
for run in $(seq 0 "$loads"); do  # run 0 warms the caches and is not counted
  out=$work/native
  mkdir "$out"
  total=0 xzonly=0
  while read -r name decoded blocks; do
    t0=$(now_us)
    cat "$work/film/$name" >"$out/$name.copy"  # the loader copies the packed payload out of the film first
    t1=$(now_us)
    xz --format=lzma -dc "$work/film/$name" >"$out/$name.decoded"
    t2=$(now_us)
    dd if="$out/$name.decoded" of="$out/$name.blocks" bs=1M iflag=skip_bytes,count_bytes \
      skip=$((decoded - blocks)) count="$blocks" status=none
    t3=$(now_us)
    total=$((total + t3 - t0))
    xzonly=$((xzonly + t2 - t1))
  done <"$work/film/blocks.txt"
  rm -rf "$out"
  [ "$run" = 0 ] && continue
  native+=("$total")
  decoding+=("$xzonly")
done
median_us() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { printf "%.1f", v[int((NR + 1) / 2)] / 1000 }'; }
native_ms=$(median_us "${native[@]}")
xz_ms=$(median_us "${decoding[@]}")
load_ms=$(sed -n 's/^LoadFilm median: \([0-9.]*\) ms/\1/p' "$work/wine.txt")
decode_ms=$(sed -n 's/^DecodeLzmaPayload median: \([0-9.]*\) ms/\1/p' "$work/wine.txt")

echo "film: 885 x 638, 32 bits, two LZMA segments drawn from the demo scenes"
cat "$work/film.txt"
echo
echo "under Wine (the player's code):"
sed 's/^/  /' "$work/wine.txt"
echo "natively (cat, xz --format=lzma -dc, dd), $loads runs:"
printf '  copy + decode + copy blocks: %s ms; median %s ms\n' "$(printf '%s ' "${native[@]}" | awk '{ for (i = 1; i <= NF; i++) printf "%.0f ", $i / 1000 }')" "$native_ms"
printf '  xz alone: median %s ms\n' "$xz_ms"
echo
awk -v l="$load_ms" -v n="$native_ms" -v d="$decode_ms" -v x="$xz_ms" 'BEGIN {
  printf "LoadFilm / native copy+xz+copy: %.1f ms / %.1f ms = %.2f\n", l, n, l / n
  printf "DecodeLzmaPayload / xz alone:   %.1f ms / %.1f ms = %.2f\n", d, x, d / x
}'
