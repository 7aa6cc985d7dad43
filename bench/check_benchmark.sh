#!/usr/bin/env bash
# Benchmark of boxpaint-check's Release build. Not a test: it prints figures and whether
# each meets its target, and exits 0 unless something fails to run.
#
# It builds boxpaint-check in build-release/ (tests off), generates its inputs in a
# temporary directory (removed at the end) and measures:
#
# (a) 200,000 blocks, each up to 10 cells along each axis, on a 200 x 200 x 100 mesh
#     (4,000,000 cells), the same inputs as boxpaint's own whole-run benchmark: the text
#     report and the JSON report, each written to /dev/null. Target: under 1 second.
# (b) The same four blocks on meshes of 4,000,000 and 32,000,000 cells: the peak memory
#     must not grow with the number of cells.
#
# Every command runs BENCH_RUNS times (default 3); the median time and the largest peak
# memory count. Wall times come from bash's EPOCHREALTIME, peak memory from /usr/bin/time
# -v ("Maximum resident set size").
#
# Usage: bench/check_benchmark.sh
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
runs=${BENCH_RUNS:-3}
build="$repo/build-release"

if [ ! -x /usr/bin/time ]; then
  echo "check_benchmark.sh needs /usr/bin/time: apt-get install time" >&2
  exit 1
fi

echo "Building the Release boxpaint-check in $build ..."
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBOXPAINT_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target boxpaint-check >/dev/null
exe="$build/boxpaint-check"

work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/boxpaint-check-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# measure <command...>: runs it BENCH_RUNS times with its output to /dev/null; sets `wall`
# (the median, in seconds) and `peak_kib` (the largest). The command must end with 0.
measure() {
  local times=() peaks=() start end
  for ((r = 0; r < runs; r++)); do
    start=$EPOCHREALTIME
    if ! /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt"; then
      echo "failed: $*" >&2
      head -3 "$work/stderr.txt" >&2
      exit 1
    fi
    end=$EPOCHREALTIME
    times+=("$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }')")
    peaks+=("$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")")
  done
  wall=$(printf '%s\n' "${times[@]}" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }')
  peak_kib=$(printf '%s\n' "${peaks[@]}" | sort -n | tail -1)
}

echo "Working in $work, median of $runs runs"
echo

# (a) Northing bounds come high first and elevation bounds top first, so every block is
# also ordered.
printf '200 200 100\n0. 0. 1000.\n200*10.\n200*10.\n100*10.\n' >"$work/mesh_b.txt"
awk 'BEGIN {
  srand(20240101)
  print "0.0"
  print 200000
  for (b = 0; b < 200000; b++) {
    e = rand() * 2000; n = rand() * 2000; z = rand() * 1000
    printf "%.3f %.3f %.3f %.3f %.3f %.3f %.4g\n", e, e + rand() * 100, n + rand() * 100, n,
           z, z - rand() * 100, rand() * 10
  }
}' >"$work/blocks_b.inp"

echo "(a) 200 x 200 x 100 mesh, 4000000 cells, 200000 blocks"
for mode in text json; do
  arguments=("$work/mesh_b.txt" "$work/blocks_b.inp")
  [ "$mode" = text ] || arguments+=(--json)
  measure "$exe" "${arguments[@]}"
  bytes=$("$exe" "${arguments[@]}" | wc -c)
  echo "    $mode report ($bytes bytes): ${wall} s, peak ${peak_kib} KiB" \
    "(target under 1 s: $(awk -v t="$wall" 'BEGIN { print (t < 1 ? "met" : "NOT met") }'))"
done
echo

# (b) Four blocks on a small and a large mesh.
cat >"$work/blocks_c.inp" <<'EOF'
1.5
4
100. 3000.  500. 2500.  1800.  900.  .05
2000. 4000.  0. 4000.  1200. 0.  2.25e3
0. 1000.  1000. 3000.  2000. 1500.  -7.125
1500. 2500.  1500. 2500.  1000. 500.  1e-5
EOF
echo "(b) peak memory against the number of cells, 4 blocks"
for size in "200 200 100" "400 400 200"; do
  read -r ne nn nz <<<"$size"
  printf '%d %d %d\n0. 0. 2000.\n%d*10.\n%d*10.\n%d*10.\n' "$ne" "$nn" "$nz" "$ne" "$nn" "$nz" \
    >"$work/mesh_c.txt"
  measure "$exe" "$work/mesh_c.txt" "$work/blocks_c.inp"
  echo "    $ne x $nn x $nz mesh, $((ne * nn * nz)) cells: ${wall} s, peak ${peak_kib} KiB"
done
