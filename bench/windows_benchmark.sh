#!/usr/bin/env bash
# Speed of the Windows boxpaint.exe under Wine. Not a test: it prints figures, and whether
# the target is met, and exits 0 unless something fails to run.
#
# The 32M-cell model (400 x 400 x 200 cells, 5 blocks, 384 MB) is written by boxpaint.exe
# and by a floor, a small Windows program (write_floor_win32.cc) that writes the same
# number of bytes in 1 MiB WriteFile calls to the same directory. Both run under Wine, in
# turn, BENCH_RUNS times (default 5), each after a `sync`, with one wineserver kept
# running; the medians count. Target: boxpaint.exe within 1.5 times the floor.
#
# boxpaint.exe is built in build-windows-release/ (or WINDOWS_BUILD) with MinGW-w64; the inputs
# and outputs go to a temporary directory under BENCH_DIR (default $TMPDIR or /tmp).
#
# Usage: bench/windows_benchmark.sh
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
runs=${BENCH_RUNS:-5}
source "$repo/bench/windows_build.sh"
x86_64-w64-mingw32-g++-posix -O2 -static -o "$build/write_floor.exe" "$repo/bench/write_floor_win32.cc"

work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/boxpaint_windows_bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '400 400 200\n0. 0. 0.\n400*1.\n400*1.\n200*1.\n' >mesh.txt
printf '0.\n5\n10 50 10 50 0 -20 1.5\n100 300 0 400 -10 -150 -2.25\n0 400 200 210 0 -200 7\n' >blocks.inp
printf '50 60 50 60 -50 -60 1e30\n390 400 390 400 -190 -200 -1e-30\n' >>blocks.inp
bytes=$((400 * 400 * 200 * 12))

# Seconds that one run of the command takes, from bash's clock.
seconds() {
  local start=$EPOCHREALTIME
  "$@" >/dev/null
  echo "$EPOCHREALTIME - $start" | bc -l
}

median() {
  sort -g | awk '{v[NR] = $1} END {printf "%.3f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}

"$wine" "$build/boxpaint.exe" mesh.txt blocks.inp model.txt  # warms Wine and the cache
size=$(stat -c %s model.txt)
[ "$size" -eq "$bytes" ] || { echo "boxpaint.exe wrote $size bytes, not $bytes" >&2; exit 1; }
boxpaint_times=()
floor_times=()
for ((run = 0; run < runs; run++)); do
  rm -f model.txt floor.txt
  sync
  boxpaint_times+=("$(seconds "$wine" "$build/boxpaint.exe" mesh.txt blocks.inp model.txt)")
  sync
  floor_times+=("$(seconds "$wine" "$build/write_floor.exe" floor.txt "$bytes")")
done
boxpaint=$(printf '%s\n' "${boxpaint_times[@]}" | median)
floor=$(printf '%s\n' "${floor_times[@]}" | median)
ratio=$(echo "$boxpaint / $floor" | bc -l)
verdict=$(echo "$ratio <= 1.5" | bc -l)
printf 'Windows under Wine, 400 x 400 x 200 cells, 5 blocks (384 MB), median of %d:\n' "$runs"
printf '  boxpaint.exe %ss, floor (1 MiB WriteFile calls) %ss, ratio %.2fx: %s\n' \
  "$boxpaint" "$floor" "$ratio" "$([ "$verdict" = 1 ] && echo "within 1.5x" || echo "OVER 1.5x")"
