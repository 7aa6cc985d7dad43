#!/usr/bin/env bash
# Whole-run benchmark of boxpaint's Release build. Not a test: it prints figures, and
# whether each meets its target, and exits 0 unless something fails to run.
#
# Every workload is timed side by side with its floor: a small program (write_floor.cc)
# that writes the same number of bytes in 1 MiB writes to the same directory. The two run
# in turn, boxpaint then the floor, BENCH_RUNS times (default 5), each after a `sync`; the
# medians count. Wall times come from bash's EPOCHREALTIME, peak resident memory from
# /usr/bin/time -v.
#
# Workloads (name: mesh, blocks, target):
#   small    100 x 100 x 50, 20 blocks:           at most 1.2 times the floor
#   medium   400 x 400 x 200 (32M cells), 5 blocks: at most 1.3 times the floor
#   blocks   200 x 200 x 100, 200,000 blocks:    at most 4 times the floor, reading included
#   millions 431 x 431 x 215, 2,000,000 blocks:  at most 4 times the floor, reading included
#   long     1 x 1 x 20,000,000, 3 blocks:       one very long axis
#   largest  1023 x 1024 x 512, 5 blocks:        at most 1.5 times the floor and 64 MiB;
#            the largest model the size rule allows, 6.4 GB of text: run only when named,
#            with that much free space under BENCH_DIR
# Every workload's peak memory must stay within 64 MiB + 48 bytes per block + 16 bytes per
# mesh node.
#
# The executable is built in build-release/;
# the inputs and outputs go to a temporary directory under BENCH_DIR (default $TMPDIR or
# /tmp), removed at the end.
#
# Usage: bench/run_benchmark.sh [small] [medium] [blocks] [millions] [long] [largest]
#        (no names: all but largest)
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
runs=${BENCH_RUNS:-5}
workloads=("$@")
[ ${#workloads[@]} -gt 0 ] || workloads=(small medium blocks millions long)

if [ ! -x /usr/bin/time ]; then
  if [ "$(id -u)" -eq 0 ]; then
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q time >/dev/null
  else
    echo "run_benchmark.sh needs /usr/bin/time: sudo apt-get install time" >&2
    exit 1
  fi
fi

build() {
  local dir=$1
  shift
  cmake -S "$repo" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DBOXPAINT_TESTS=OFF -DBOXPAINT_VIEW=OFF \
    "$@" >/dev/null
  cmake --build "$dir" -j2 --target boxpaint >/dev/null
}
echo "Building the Release executables ..."
build "$repo/build-release"
exe="$repo/build-release/boxpaint"

work=$(mktemp -d "${BENCH_DIR:-${TMPDIR:-/tmp}}/boxpaint-bench.XXXXXX")
trap 'rm -rf "$work"' EXIT
c++ -O2 -o "$work/write_floor" "$repo/bench/write_floor.cc"

# Runs its arguments under /usr/bin/time -v; sets `wall` (seconds), `peak_kib`, `status`.
measure() {
  sync
  local start=$EPOCHREALTIME
  set +e
  /usr/bin/time -v -o "$work/time.txt" "$@" >/dev/null 2>"$work/stderr.txt"
  status=$?
  set -e
  local end=$EPOCHREALTIME
  wall=$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.4f", e - s }')
  peak_kib=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/time.txt")
}

median() {
  printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

# pair <executable> <mesh> <blocks> <bytes>: boxpaint and the floor in turn; sets
# `run_wall`, `floor_wall` (medians), `run_peak` (KiB, the largest).
pair() {
  local program=$1 mesh=$2 blocks=$3 bytes=$4
  local times=() floors=() peaks=()
  for ((r = 0; r < runs; r++)); do
    rm -f "$work/model.txt"
    measure "$program" "$mesh" "$blocks" "$work/model.txt"
    if [ "$status" -ne 0 ] || [ "$(stat -c %s "$work/model.txt")" -ne "$bytes" ]; then
      echo "boxpaint failed (status $status) on $mesh" >&2
      head -3 "$work/stderr.txt" >&2
      exit 1
    fi
    times+=("$wall")
    peaks+=("$peak_kib")
    rm -f "$work/model.txt"
    measure "$work/write_floor" "$work/floor.txt" "$bytes"
    floors+=("$wall")
    rm -f "$work/floor.txt"
  done
  run_wall=$(median "${times[@]}")
  floor_wall=$(median "${floors[@]}")
  run_peak=$(printf '%s\n' "${peaks[@]}" | sort -n | tail -1)
}

verdict() {  # verdict <value> <limit>: met when value <= limit
  awk -v v="$1" -v l="$2" 'BEGIN { print (v <= l ? "met" : "NOT met") }'
}

# mesh <file> <ne> <nn> <nz>: cells 10 units wide along every axis, from (0, 0, 0).
mesh() {
  printf '%d %d %d\n0 0 0\n%d*10\n%d*10\n%d*10\n' "$2" "$3" "$4" "$2" "$3" "$4" >"$1"
}

# blocks <file> <count> <ne> <nn> <nz>: random blocks up to 10 cells along each axis, or
# up to a third of an axis that has fewer cells. Northing bounds come high first and
# elevation bounds top first, so that every block is also put in order.
blocks() {
  awk -v count="$2" -v ne="$3" -v nn="$4" -v nz="$5" 'BEGIN {
    srand(20261207)
    print "1.5"
    print count
    for (b = 0; b < count; b++) {
      e = rand() * ne * 10; n = rand() * nn * 10; z = -rand() * nz * 10
      de = ne < 30 ? ne * 10 / 3 : 100; dn = nn < 30 ? nn * 10 / 3 : 100
      dz = nz < 30 ? nz * 10 / 3 : 100
      printf "%.3f %.3f %.3f %.3f %.3f %.3f %.4g\n", e, e + rand() * de, n + rand() * dn, n,
             z, z - rand() * dz, rand() * 1000
    }
  }' >"$1"
}

rows=()
# run_workload <name> <ne> <nn> <nz> <blocks> <ratio target or -> <seconds target or ->
run_workload() {
  local name=$1 ne=$2 nn=$3 nz=$4 count=$5 ratio_target=$6 time_target=$7
  local cells=$((ne * nn * nz)) bytes=$((ne * nn * nz * 12))
  mesh "$work/mesh.txt" "$ne" "$nn" "$nz"
  blocks "$work/blocks.inp" "$count" "$ne" "$nn" "$nz"
  echo "== $name: ${ne} x ${nn} x ${nz} ($cells cells, $bytes bytes), $count blocks"
  pair "$exe" "$work/mesh.txt" "$work/blocks.inp" "$bytes"
  local ratio memory_limit
  ratio=$(awk -v a="$run_wall" -v f="$floor_wall" 'BEGIN { printf "%.2f", a / f }')
  memory_limit=$(((64 << 20) / 1024 + (48 * count + 16 * (ne + nn + nz + 3)) / 1024))
  echo "   boxpaint ${run_wall} s, floor ${floor_wall} s, ratio ${ratio}," \
    "peak $((run_peak / 1024)) MiB"
  [ "$ratio_target" = - ] ||
    echo "   ratio target at most $ratio_target: $(verdict "$ratio" "$ratio_target")"
  [ "$time_target" = - ] ||
    echo "   time target under $time_target s: $(verdict "$run_wall" "$time_target")"
  echo "   memory limit $((memory_limit / 1024)) MiB: $(verdict "$run_peak" "$memory_limit")"
  rows+=("| $name | ${ne}x${nn}x${nz}, $count blocks | ${run_wall} s | ${floor_wall} s | ${ratio}x | $((run_peak / 1024)) MiB |")
}

echo "Working in $work ($(df --output=source "$work" | tail -1)), median of $runs runs"
for workload in "${workloads[@]}"; do
  case $workload in
    small) run_workload small 100 100 50 20 1.2 - ;;
    medium) run_workload medium 400 400 200 5 1.3 - ;;
    blocks) run_workload blocks 200 200 100 200000 4 - ;;
    millions) run_workload millions 431 431 215 2000000 4 - ;;
    long) run_workload long 1 1 20000000 3 - - ;;
    largest) run_workload largest 1023 1024 512 5 1.5 - ;;
    *)
      echo "unknown workload $workload" >&2
      exit 2
      ;;
  esac
done
echo
echo "| workload | model | boxpaint | floor (1 MiB writes) | ratio | peak memory |"
echo "|---|---|---|---|---|---|"
printf '%s\n' "${rows[@]}"
