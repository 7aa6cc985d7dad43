#!/usr/bin/env bash
# Control-C against ThreadSanitizer: boxpaint built with -fsanitize=thread is sent SIGINT
# at a random moment of its read phase (400,000 blocks on a small mesh), RUNS times, and of
# its write phase (a 192 MB model of few blocks), RUNS times. The end of the run must touch
# no file another thread is using: every run must end with message 200 (or finish first),
# leave whole records, and draw no
# ThreadSanitizer report (a race, or a thread of the run left behind). Not a test: it prints the counts, and exits 1 when a run failed
# or a report was drawn.
#
# Usage: bench/interrupt_race_probe.sh [RUNS]     (RUNS per phase, default 30)
# TSAN_BUILD names the build folder (default build-tsan); BENCH_DIR picks the disk.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-30}
build=${TSAN_BUILD:-$repo/build-tsan}
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_FLAGS=-fsanitize=thread \
  -DCMAKE_EXE_LINKER_FLAGS=-fsanitize=thread -DBOXPAINT_STATIC_CXX_RUNTIME=OFF \
  -DBOXPAINT_TESTS=OFF -DBOXPAINT_VIEW=OFF >/dev/null
cmake --build "$build" -j2 --target boxpaint >/dev/null
boxpaint="$build/boxpaint"
# The run ends where it means to: ThreadSanitizer's own wait before the exit would let an
# event come after the end and be refused.
export TSAN_OPTIONS="atexit_sleep_ms=0 ${TSAN_OPTIONS:-}"

dir=$(mktemp -d "${BENCH_DIR:-/tmp}/boxpaint-interrupt-race.XXXXXX")
trap 'rm -rf "$dir"' EXIT
cd "$dir"
printf '50 50 20\n0 0 0\n50*10\n50*10\n20*5\n' >small_mesh.txt
awk 'BEGIN {
  srand(7); print 0.5; print 400000
  for (b = 0; b < 400000; ++b) {
    e = int(rand() * 450); n = int(rand() * 450); z = int(rand() * 90)
    printf "%d.5 %d.25 %d.5 %d.75 -%d -%d %.4f\n", e, e + 40, n, n + 30, z, z + 8, rand()
  }
}' >many_blocks.inp
printf '400 400 100\n0 0 0\n400*10\n400*10\n100*5\n' >large_mesh.txt
printf '0.5\n3\n10 900 10 900 0 -200 1.5\n500 1500 100 1900 -100 -400 -2.25\n0 2000 0 50 0 -500 7\n' \
  >few_blocks.inp
"$boxpaint" small_mesh.txt many_blocks.inp read_reference.txt
"$boxpaint" large_mesh.txt few_blocks.inp write_reference.txt

# Milliseconds from the start of an undisturbed run until its model file appears, and until
# it ends.
phases() {
  rm -f timed.txt
  local start=$EPOCHREALTIME opened=""
  "$boxpaint" "$1" "$2" timed.txt &
  local pid=$!
  while kill -0 "$pid" 2>/dev/null; do
    [ -z "$opened" ] && [ -e timed.txt ] && opened=$EPOCHREALTIME
    sleep 0.002
  done
  wait "$pid"
  awk -v s="$start" -v o="${opened:-$EPOCHREALTIME}" -v e="$EPOCHREALTIME" \
    'BEGIN { printf "%d %d", (o - s) * 1000, (e - s) * 1000 }'
}

failures=0
reports_total=0
probe() {
  local phase=$1 mesh=$2 blocks=$3 reference=$4 from=$5 to=$6
  local reports=0 interrupted=0 finished=0 unopened=0
  for run in $(seq 1 "$runs"); do
    rm -f model.txt
    # A job started in the background of a script ignores SIGINT unless told otherwise.
    env --default-signal=INT "$boxpaint" "$mesh" "$blocks" model.txt 2>err.txt &
    local pid=$!
    sleep "$(awk -v a="$from" -v b="$to" -v r="$RANDOM" \
      'BEGIN { printf "%.3f", (a + (b - a) * r / 32768) / 1000 }')"
    kill -INT "$pid" 2>/dev/null || true
    set +e
    wait "$pid"
    local status=$?
    set -e
    local size
    size=$(stat -c %s model.txt 2>/dev/null || echo absent)
    if grep -q 'WARNING: ThreadSanitizer' err.txt; then
      reports=$((reports + 1))
      [ "$reports" -eq 1 ] && sed -n '1,40p' err.txt >"first_report_$phase.txt"
    fi
    local ended=finished
    grep -q 'forrtl: error (200): program aborting due to control-C event' err.txt && ended=event
    if [ "$status" -ne 0 ]; then
      echo "  $phase run $run: status $status" >&2
      failures=$((failures + 1))
    elif [ "$ended" = event ]; then
      interrupted=$((interrupted + 1))
    else
      finished=$((finished + 1))
    fi
    # Interrupted while reading, the run opens no model file.
    [ "$ended" = event ] && [ "$size" = absent ] && unopened=$((unopened + 1))
    if [ "$size" != absent ] && { [ $((size % 12)) -ne 0 ] || ! cmp -s -n "$size" model.txt "$reference"; }; then
      echo "  $phase run $run: $size bytes are not whole records of the model" >&2
      failures=$((failures + 1))
    fi
  done
  reports_total=$((reports_total + reports))
  echo "$phase phase: $runs runs, $interrupted ended by control-C ($unopened before the model" \
       "file opened), $finished finished first; $reports with a ThreadSanitizer report"
  [ "$reports" -eq 0 ] || { echo "  the first report:"; sed 's/^/    /' "first_report_$phase.txt"; }
}

read -r opened ended <<<"$(phases small_mesh.txt many_blocks.inp)"
echo "read phase: the undisturbed run opens its model file after $opened ms of $ended ms"
probe read small_mesh.txt many_blocks.inp read_reference.txt $((opened / 10)) $((opened * 6 / 10))
read -r opened ended <<<"$(phases large_mesh.txt few_blocks.inp)"
echo "write phase: the undisturbed run opens its model file after $opened ms of $ended ms"
probe write large_mesh.txt few_blocks.inp write_reference.txt \
  $((opened + (ended - opened) / 10)) $((opened + (ended - opened) * 6 / 10))
[ "$failures" -eq 0 ] && [ "$reports_total" -eq 0 ] || exit 1
