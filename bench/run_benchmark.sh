#!/usr/bin/env bash
# Whole-run benchmark of boxpaint's Release build. Not a test: it prints figures and
# whether each meets its target, and exits 0 unless something fails to run.
#
# It builds the Release executable in build-release/ (tests off), generates its inputs in a
# temporary directory (removed at the end) and measures two runs:
#
# (a) A 400 x 400 x 200 mesh (32,000,000 cells) with four blocks: wall time, peak resident
#     memory (bytes per cell) and MB/s written (1 MB = 10^6 bytes) for the 384,000,000-byte
#     model file. For comparison, `dd` writes the same number of bytes from /dev/zero in
#     1 MiB blocks to the same directory. Targets: boxpaint at most 1.5 times dd's time;
#     peak memory at most 8 bytes per cell plus 64 MiB. The pair is timed twice: as the
#     processes end (the bytes may still sit in the page cache), and flushed to the disk
#     (dd with conv=fsync; boxpaint followed by `sync` on the model file, inside the timing).
#
# (b) 200,000 blocks, each up to 10 cells along each axis, on a 200 x 200 x 100 mesh
#     (4,000,000 cells). To time the reading, snapping and painting without the model
#     write, the same run is made with a model file named in a folder that does not exist:
#     boxpaint reads the mesh, creates and fills the model, reads and paints every block,
#     and then ends with status 29 when it cannot open the model file, so nothing is
#     written. That time (which also holds the start-up, the mesh and the fill) is compared
#     with the target of 1 second. The full run with the model written is shown too.
#
# Every timed command runs BENCH_RUNS times (default 3), each after a `sync`; the median
# counts. Wall times come from bash's EPOCHREALTIME, peak memory from /usr/bin/time -v
# ("Maximum resident set size"). The temporary directory is made under BENCH_DIR (default
# $TMPDIR or /tmp); point it at the disk you want to measure.
#
# Usage: bench/run_benchmark.sh
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
runs=${BENCH_RUNS:-3}
build="$repo/build-release"

if [ ! -x /usr/bin/time ]; then
  if [ "$(id -u)" -eq 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q time >/dev/null
  else
    echo "run_benchmark.sh needs /usr/bin/time: sudo apt-get install time" >&2
    exit 1
  fi
fi

echo "Building the Release executable in $build ..."
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBOXPAINT_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target boxpaint >/dev/null
exe="$build/boxpaint"

work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/boxpaint-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Runs its arguments under /usr/bin/time -v; sets `wall` (seconds), `peak_kib` and `status`.
# When `flush` names a file, the time includes flushing that file to the disk.
flush=
measure() {
  sync
  local start=$EPOCHREALTIME
  set +e
  /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt"
  status=$?
  [ -z "$flush" ] || [ "$status" -ne 0 ] || sync "$flush"
  set -e
  local end=$EPOCHREALTIME
  wall=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", e - s }')
  peak_kib=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
}

# The median of the numbers given as arguments.
median() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# measure_runs <output> <status> <command...>: runs `measure` BENCH_RUNS times, removing
# <output> before each run; every run must end with <status>. Sets `wall` to the median
# time and `peak_kib` to the largest peak.
measure_runs() {
  local output=$1 expected=$2
  shift 2
  local times=() peaks=()
  for ((r = 0; r < runs; r++)); do
    rm -f "$output"
    measure "$@"
    if [ "$status" -ne "$expected" ]; then
      echo "unexpected exit status $status (wanted $expected) from: $*" >&2
      head -3 "$work/stderr.txt" >&2
      exit 1
    fi
    times+=("$wall")
    peaks+=("$peak_kib")
  done
  wall=$(median "${times[@]}")
  peak_kib=$(printf '%s\n' "${peaks[@]}" | sort -n | tail -1)
}

# verdict <value> <limit>: "met" when value <= limit.
verdict() {
  awk -v v="$1" -v l="$2" 'BEGIN { print (v <= l ? "met" : "NOT met") }'
}

echo "Working in $work ($(df --output=source "$work" | tail -1)), median of $runs runs"
echo

# (a) 32 million cells, a few blocks.
cells_a=$((400 * 400 * 200))
bytes_a=$((cells_a * 12))
model_a="$work/model_a.txt"
printf '400 400 200\n0. 0. 2000.\n400*10.\n400*10.\n200*10.\n' >"$work/mesh_a.txt"
cat >"$work/blocks_a.inp" <<'EOF'
1.5                                      ! background
4                                        ! blocks
100. 3000.  500. 2500.  1800.  900.  .05 ! e1 e2 n1 n2 z1 z2 value
2000. 4000.  0. 4000.  1200. 0.  2.25e3
0. 1000.  1000. 3000.  2000. 1500.  -7.125
1500. 2500.  1500. 2500.  1000. 500.  1e-5
EOF

# run_a <file to flush, or empty>: times boxpaint and dd; sets run_wall, run_peak, dd_wall.
run_a() {
  flush=$1
  measure_runs "$model_a" 0 "$exe" "$work/mesh_a.txt" "$work/blocks_a.inp" "$model_a"
  run_wall=$wall
  run_peak=$peak_kib
  local written
  written=$(stat -c %s "$model_a")
  if [ "$written" -ne "$bytes_a" ]; then
    echo "the model file has $written bytes, not $bytes_a" >&2
    exit 1
  fi
  rm -f "$model_a"
  local dd_args=(if=/dev/zero of="$work/dd.out" bs=1M count="$bytes_a" iflag=count_bytes)
  [ -z "$flush" ] || dd_args+=(conv=fsync)
  flush=
  measure_runs "$work/dd.out" 0 dd "${dd_args[@]}"
  dd_wall=$wall
  rm -f "$work/dd.out"
}

# report_a <label>: one comparison of boxpaint with dd.
report_a() {
  local ratio rate dd_rate
  ratio=$(awk -v a="$run_wall" -v d="$dd_wall" 'BEGIN { printf "%.2f", a / d }')
  rate=$(awk -v b="$bytes_a" -v t="$run_wall" 'BEGIN { printf "%.1f", b / 1e6 / t }')
  dd_rate=$(awk -v b="$bytes_a" -v t="$dd_wall" 'BEGIN { printf "%.1f", b / 1e6 / t }')
  echo "    $1:"
  echo "      boxpaint: ${run_wall} s, ${rate} MB/s"
  echo "      dd bs=1M: ${dd_wall} s, ${dd_rate} MB/s"
  echo "      time ratio boxpaint / dd: ${ratio} (target at most 1.5: $(verdict "$ratio" 1.5))"
}

echo "(a) 400 x 400 x 200 mesh, $cells_a cells, 4 blocks, $bytes_a bytes written"
run_a ""
report_a "as the processes end"
peak_a=$run_peak
run_a "$model_a"
report_a "flushed to the disk"
per_cell=$(awk -v k="$peak_a" -v c="$cells_a" 'BEGIN { printf "%.2f", k * 1024 / c }')
limit_kib=$((cells_a * 8 / 1024 + 64 * 1024))
echo "    peak memory: ${peak_a} KiB = ${per_cell} bytes per cell"
echo "      (target at most ${limit_kib} KiB, 8 bytes per cell + 64 MiB: $(verdict "$peak_a" "$limit_kib"))"
echo

# (b) 200,000 blocks on 4 million cells. Northing bounds come high first and elevation
# bounds top first, so every block is also ordered.
cells_b=$((200 * 200 * 100))
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

measure_runs "$work/no-such-folder/model_b.txt" 29 "$exe" "$work/mesh_b.txt" \
  "$work/blocks_b.inp" "$work/no-such-folder/model_b.txt"
paint_wall=$wall
paint_peak=$peak_kib
measure_runs "$work/model_b.txt" 0 "$exe" "$work/mesh_b.txt" "$work/blocks_b.inp" \
  "$work/model_b.txt"
full_wall=$wall
rm -f "$work/model_b.txt"

echo "(b) 200 x 200 x 100 mesh, $cells_b cells, 200000 blocks" \
  "($(stat -c %s "$work/blocks_b.inp") bytes)"
echo "    read, snap and paint (run ended before the model write): ${paint_wall} s" \
  "(target under 1 s: $(awk -v t="$paint_wall" 'BEGIN { print (t < 1 ? "met" : "NOT met") }'))"
echo "    whole run with the $((cells_b * 12))-byte model written: ${full_wall} s"
echo "    peak memory: ${paint_peak} KiB"
