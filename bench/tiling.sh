#!/usr/bin/env bash
# Tiling benchmark: makes a 12000 x 12000 24-bit map (432 MB), tiles it, and prints the tiling
# time divided by the time of `cat map.bmp > copy.bmp` on the same file in the same run, with
# the tiler's peak memory. Not a test. BENCH_DIR chooses the work folder (default /tmp), RUNS the
# number of copy and tiling pairs (default 7), MAP_SIZE the side of the map.
# The machine may be shared: each pair is timed back to back, and the best of each is kept.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-bench"
size="${MAP_SIZE:-12000}"
runs="${RUNS:-7}"
work="${BENCH_DIR:-/tmp}/tessaline-tiling.$$"
mkdir -p "$work/prog/Temp"
trap 'rm -rf "$work"' EXIT

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTESSALINE_BENCH=ON -DTESSALINE_TESTS=OFF >/dev/null
cmake --build "$build" -j3 --target bench_tile_map >"$work/build.log" 2>&1 || { tail -n 30 "$work/build.log"; exit 1; }

map="$work/map.bmp"
"$build/bench_tile_map" make "$map" "$size" "$size"
cat "$map" >/dev/null   # both runs start from the page cache
sync                    # and with no write-back of the new map pending

# Runs a command and prints its wall and processor seconds ("wall cpu").
timed() {
  local TIMEFORMAT='%3R %3U %3S'
  { time "$@" >"$work/out.txt" 2>&1; } 2>"$work/time.txt"
  awk '{printf "%.3f %.3f\n", $1, $2 + $3}' "$work/time.txt"
}
copy_to() { cat "$map" > "$1"; }
min() { if [ -z "$1" ] || [ "$(echo "$2 < $1" | bc -l)" = 1 ]; then echo "$2"; else echo "$1"; fi; }
median() { tr ' ' '\n' <<<"$1" | grep . | sort -n | awk '{v[NR] = $1} END {print v[int((NR + 1) / 2)]}'; }

best_copy="" best_tile="" cpu_copy="" cpu_tile="" peak="" all_copy="" all_tile=""
for run in $(seq "$runs"); do
  rm -f "$work/copy.bmp"; sync
  read -r copy ccpu < <(timed copy_to "$work/copy.bmp")
  rm -f "$work/copy.bmp" "$work"/prog/Temp/*; sync
  read -r tile tcpu < <(timed "$build/bench_tile_map" tile "$map" "$work/prog")
  kb=$(awk '/peak_rss_kb/ {print $2}' "$work/out.txt")
  echo "run $run: copy ${copy}s (cpu ${ccpu}s), tiling ${tile}s (cpu ${tcpu}s), peak ${kb} kB"
  all_copy="$all_copy $copy" all_tile="$all_tile $tile"
  best_copy=$(min "$best_copy" "$copy"); cpu_copy=$(min "$cpu_copy" "$ccpu"); cpu_tile=$(min "$cpu_tile" "$tcpu")
  if [ "$(min "$best_tile" "$tile")" = "$tile" ]; then best_tile=$tile; peak=$kb; fi
done

bytes=$(stat -c %s "$map")
band=$(( 2000 * ( (size * 3 + 3) / 4 * 4 ) ))
echo "map bytes:          $bytes"
echo "copy (best of $runs):   ${best_copy}s, cpu ${cpu_copy}s"
echo "tiling (best of $runs): ${best_tile}s, cpu ${cpu_tile}s"
printf 'ratio tiling/copy:  %.2f (goal <= 1.5), cpu %.2f\n' "$(echo "$best_tile / $best_copy" | bc -l)" \
  "$(echo "$cpu_tile / $cpu_copy" | bc -l)"
# The best shows the work; the median shows what a person usually waits.
med_copy=$(median "$all_copy") med_tile=$(median "$all_tile")
printf 'median copy %ss, tiling %ss: ratio %.2f\n' "$med_copy" "$med_tile" "$(echo "$med_tile / $med_copy" | bc -l)"
printf 'peak memory:        %d kB (one source row band is %d kB)\n' "$peak" $(( band / 1024 ))
