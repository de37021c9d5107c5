#!/usr/bin/env bash
# Tiling benchmark: makes a 12000 x 12000 24-bit map (432 MB), tiles it, and prints the tiling
# time divided by the time of `cat map.bmp > copy.bmp` on the same file in the same run, with
# the tiler's peak memory. Not a test. BENCH_DIR chooses the work folder (default /tmp).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-bench"
size="${MAP_SIZE:-12000}"
work="${BENCH_DIR:-/tmp}/tessaline-tiling.$$"
mkdir -p "$work/prog/Temp"
trap 'rm -rf "$work"' EXIT

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTESSALINE_BENCH=ON -DTESSALINE_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target bench_tile_map >"$work/build.log" 2>&1 || { tail -n 30 "$work/build.log"; exit 1; }

map="$work/map.bmp"
"$build/bench_tile_map" make "$map" "$size" "$size"
cat "$map" >/dev/null   # both runs start from the page cache
sync                    # and with no write-back of the new map pending

now() { date +%s.%N; }
best_copy=""
best_tile=""
peak=""
for run in 1 2 3; do
  t0=$(now); cat "$map" > "$work/copy.bmp"; t1=$(now)
  rm -f "$work/copy.bmp"
  sync
  copy=$(echo "$t1 - $t0" | bc -l)
  rm -f "$work"/prog/Temp/*
  sync
  t0=$(now); out=$("$build/bench_tile_map" tile "$map" "$work/prog"); t1=$(now)
  tile=$(echo "$t1 - $t0" | bc -l)
  kb=$(echo "$out" | awk '/peak_rss_kb/ {print $2}')
  echo "run $run: copy ${copy}s, tiling ${tile}s, peak ${kb} kB"
  if [ -z "$best_copy" ] || [ "$(echo "$copy < $best_copy" | bc -l)" = 1 ]; then best_copy=$copy; fi
  if [ -z "$best_tile" ] || [ "$(echo "$tile < $best_tile" | bc -l)" = 1 ]; then best_tile=$tile; peak=$kb; fi
done

bytes=$(stat -c %s "$map")
band=$(( 2000 * ( (size * 3 + 3) / 4 * 4 ) ))
echo "map bytes:          $bytes"
echo "copy (best of 3):   ${best_copy}s"
echo "tiling (best of 3): ${best_tile}s"
printf 'ratio tiling/copy:  %.2f (goal <= 1.5)\n' "$(echo "$best_tile / $best_copy" | bc -l)"
printf 'peak memory:        %d kB (one source row band is %d kB)\n' "$peak" $(( band / 1024 ))
