#!/usr/bin/env bash
# How soon control-C stops the writing: a 2.3 GB model (800 x 800 x 300 cells) is written
# by the Release build, RUNS times, and each run is sent SIGINT at a random moment of its
# writing, with the call-stack listing on. From the event to the model file's last change
# (its modification time, which every write and cut sets) must take at most 100 ms, and
# the file must hold whole records of the model. With --wine the Windows build runs under
# Wine instead (bench/windows_build.sh), which turns SIGINT into a control-C event. Not a
# test: it prints the figures, and exits 1 when a run fails or misses the target.
#
# Usage: bench/interrupt_timing.sh [--wine] [RUNS]     (default 10)
# Builds build-release/ (--wine: build-windows-release/, or WINDOWS_BUILD); BENCH_DIR picks
# the disk, which needs about 5 GB free.
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
underWine=0
if [ "${1:-}" = --wine ]; then
  underWine=1
  shift
fi
runs=${1:-10}
if [ "$underWine" = 1 ]; then
  source "$repo/bench/windows_build.sh"
  boxpaint=("$wine" "$build/boxpaint.exe")
else
  build="$repo/build-release"
  cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=Release -DBOXPAINT_TESTS=OFF \
    -DBOXPAINT_VIEW=OFF >/dev/null
  cmake --build "$build" -j2 --target boxpaint >/dev/null
  boxpaint=("$build/boxpaint")
fi

dir=$(mktemp -d "${BENCH_DIR:-/tmp}/boxpaint-interrupt-timing.XXXXXX")
trap 'rm -rf "$dir"' EXIT
cd "$dir"
printf '800 800 300\n0 0 0\n800*10\n800*10\n300*5\n' >mesh.txt
printf '0.5\n3\n10 900 10 900 0 -200 1.5\n500 1500 100 1900 -100 -400 -2.25\n0 8000 0 50 0 -500 7\n' \
  >blocks.inp
"${boxpaint[@]}" mesh.txt blocks.inp reference.txt
bytes=$(stat -c %s reference.txt)

# Milliseconds from the start of an undisturbed run until its model file appears, and until
# it ends.
rm -f timed.txt
start=$EPOCHREALTIME
opened=""
"${boxpaint[@]}" mesh.txt blocks.inp timed.txt &
pid=$!
while kill -0 "$pid" 2>/dev/null; do
  [ -z "$opened" ] && [ -e timed.txt ] && opened=$EPOCHREALTIME
  sleep 0.002
done
wait "$pid"
read -r open_ms end_ms <<<"$(awk -v s="$start" -v o="$opened" -v e="$EPOCHREALTIME" \
  'BEGIN { printf "%d %d", (o - s) * 1000, (e - s) * 1000 }')"
rm -f timed.txt
echo "an undisturbed run: the model file opens after $open_ms ms, the run ends after $end_ms ms" \
     "($bytes bytes)"

failures=0
lags=()
for run in $(seq 1 "$runs"); do
  rm -f model.txt
  # A job started in the background of a script ignores SIGINT unless told otherwise.
  env --default-signal=INT "${boxpaint[@]}" mesh.txt blocks.inp model.txt 2>err.txt &
  pid=$!
  sleep "$(awk -v a="$open_ms" -v b="$end_ms" -v r="$RANDOM" \
    'BEGIN { printf "%.3f", (a + (b - a) * (0.1 + 0.6 * r / 32768)) / 1000 }')"
  event=$EPOCHREALTIME
  kill -INT "$pid"
  set +e
  wait "$pid"
  status=$?
  set -e
  ended=$EPOCHREALTIME
  size=$(stat -c %s model.txt)
  changed=$(stat -c %.9Y model.txt)
  lag=$(awk -v e="$event" -v c="$changed" 'BEGIN { printf "%d", (c - e) * 1000 }')
  took=$(awk -v e="$event" -v d="$ended" 'BEGIN { printf "%d", (d - e) * 1000 }')
  lags+=("$lag")
  echo "run $run: status $status; last change of the model ${lag} ms after the event," \
       "the process gone after ${took} ms; $((size / 1048576)) MiB of $((bytes / 1048576)) MiB"
  if ! grep -q 'forrtl: error (200): program aborting due to control-C event' err.txt; then
    echo "  no message 200" >&2
    failures=$((failures + 1))
  fi
  if [ "$lag" -gt 100 ]; then
    echo "  more than 100 ms" >&2
    failures=$((failures + 1))
  fi
  if [ $((size % 12)) -ne 0 ] || ! cmp -s -n "$size" model.txt reference.txt; then
    echo "  $size bytes are not whole records of the model" >&2
    failures=$((failures + 1))
  fi
done
sorted=$(printf '%s\n' "${lags[@]}" | sort -n)
echo "from the event to the model's last change: median $(echo "$sorted" | sed -n "$(((runs + 1) / 2))p") ms," \
     "at most $(echo "$sorted" | tail -n 1) ms"
[ "$failures" -eq 0 ] || exit 1
