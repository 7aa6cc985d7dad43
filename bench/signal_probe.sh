#!/usr/bin/env bash
# Terminating signals at random moments: the 32M-cell model (400 x 400 x 200, 384 MB) is
# written again and again, and each run is sent one of SIGABRT, SIGUSR1, SIGALRM and
# SIGTERM at a random moment of its writing. Every run must die by that signal and leave
# a model file that is a whole-record prefix of the correct model. Not part of the test
# run (the end-to-end tests send each signal once): it takes a few minutes.
#
# Usage: bench/signal_probe.sh [RUNS]     (RUNS per signal, default 24)
# BENCH_DIR picks the disk (default /tmp); the Release build goes to build-release/.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-24}
build="$repo/build-release"
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBOXPAINT_TESTS=OFF >/dev/null
cmake --build "$build" -j2 --target boxpaint >/dev/null
boxpaint="$build/boxpaint"

dir=$(mktemp -d "${BENCH_DIR:-/tmp}/boxpaint-signals.XXXXXX")
trap 'rm -rf "$dir"' EXIT
cd "$dir"
printf '400 400 200\n0 0 0\n400*10\n400*10\n200*5\n' >mesh.txt
# Blocks of values of their own, so that a record out of place shows.
{
  echo 0.5
  echo 40
  for b in $(seq 1 40); do
    echo "$((b * 90)) $((b * 90 + 500)) $((b * 70)) $((b * 70 + 900)) -$((b * 20)) -$((b * 20 + 300)) $b.25"
  done
} >blocks.inp
"$boxpaint" mesh.txt blocks.inp reference.txt
start=$EPOCHREALTIME
"$boxpaint" mesh.txt blocks.inp timed.txt
micros=$(awk -v s="$start" -v e="$EPOCHREALTIME" 'BEGIN { printf "%d", (e - s) * 1e6 }')
rm -f timed.txt
echo "one undisturbed run: $((micros / 1000)) ms, $(stat -c %s reference.txt) bytes"

failures=0
for signal in ABRT USR1 ALRM TERM; do
  number=$(kill -l "$signal")
  whole=0 partial=0 died=0 finished=0
  for run in $(seq 1 "$runs"); do
    rm -f model.txt
    "$boxpaint" mesh.txt blocks.inp model.txt &
    pid=$!
    # A random moment within the run's usual length.
    sleep "$(awk -v m="$micros" -v r="$RANDOM" 'BEGIN { printf "%.6f", m * (r / 32768) / 1e6 }')"
    kill -s "$signal" "$pid" 2>/dev/null || true
    set +e
    wait "$pid" 2>/dev/null  # the shell's own word on a job killed by a signal is not wanted
    status=$?
    set -e
    size=$(stat -c %s model.txt 2>/dev/null || echo 0)
    if [ "$status" -eq 0 ]; then
      finished=$((finished + 1))  # the signal came after the end
    elif [ "$status" -eq $((128 + number)) ]; then
      died=$((died + 1))
    else
      echo "  SIG$signal run $run: status $status" >&2
      failures=$((failures + 1))
    fi
    if [ $((size % 12)) -eq 0 ] && cmp -s -n "$size" model.txt reference.txt; then
      whole=$((whole + 1))
    else
      partial=$((partial + 1))
      echo "  SIG$signal run $run: $size bytes are not whole records of the model" >&2
      failures=$((failures + 1))
    fi
  done
  echo "SIG$signal: $runs runs, $died died by the signal, $finished finished first;" \
       "$whole left whole records, $partial did not"
done
[ "$failures" -eq 0 ] || exit 1
