#!/usr/bin/env bash
# The long fault sweep: every call of a representative run, of every kind, with every
# action, on a larger model than the sweep of the normal test run. Not part of the test
# run: it takes minutes. It prints how many fault points each sweep covered and how many
# failed, and exits 1 when any failed (0 when all held, 2 when something would not run).
#
# It builds boxpaint, the fault injector (tests/fault_injector) and the sweep tests in
# build-fault-sweep/ and runs the sweeps with BOXPAINT_SWEEP=full, first in-process through
# the run-time's table of system calls (tests/call_sweep_test.cc: the same runs, each call
# failing for each reason, interrupted, short, or filling the disk part-way), then with
# the injector preloaded:
#   - a disk model replacing an older, longer model file, and a model written to a FIFO:
#     each write, read, close, truncation, open and allocation made to fail (with several
#     errno values), to come up short, or to be followed by each of SIGSEGV, SIGBUS, SIGILL,
#     SIGFPE, SIGINT, SIGQUIT, SIGHUP and SIGTERM;
#   - the sample input file on standard output and in a FOR_PRINT file, the same way;
#   - console events while the FIFO's reader has stalled, at every 512 KiB of the model.
# The log shows each failing fault point with the command that makes it again, in a
# directory holding the inputs the sweep writes (see tests/fault_sweep_test.cc).
#
# BOXPAINT_SWEEP_MESH="NE NN NZ" sets the model's cell counts (default "150 150 30":
# 675,000 records, 8.1 MB). The whole output goes to build-fault-sweep/fault_sweep.log.
#
# Usage: bench/fault_sweep.sh
set -euo pipefail

repo=$(cd "$(dirname "$0")/.." && pwd)
build="$repo/build-fault-sweep"
log="$build/fault_sweep.log"

echo "Building boxpaint, the fault injector and the sweeps in $build ..."
cmake -S "$repo" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target boxpaint boxpaint_fault_injector boxpaint_fault_sweep_tests \
  boxpaint_call_sweep_tests >/dev/null

echo "Sweeping (BOXPAINT_SWEEP=full${BOXPAINT_SWEEP_MESH:+, mesh $BOXPAINT_SWEEP_MESH}) ..."
start=$EPOCHREALTIME
set +e
BOXPAINT_SWEEP=full "$build/boxpaint_call_sweep_tests" >"$log" 2>&1
status=$?
BOXPAINT_SWEEP=full "$build/boxpaint_fault_sweep_tests" >>"$log" 2>&1
[ "$status" -ne 0 ] || status=$?
set -e
seconds=$(awk -v s="$start" -v e="$EPOCHREALTIME" 'BEGIN { printf "%.0f", e - s }')

# Each sweep ends with a line "[ sweep    ] <name>: <points> fault points, <failing> failing".
if ! grep -q '^\[ sweep    \]' "$log"; then
  tail -20 "$log" >&2
  echo "the sweeps did not run (status $status)" >&2
  exit 2
fi
echo
awk -F'] ' '/^\[ sweep    \]/ { printf "  %s\n", $2 }' "$log"
awk '/^\[ sweep    \]/ {
  split($0, parts, ": ")
  split(parts[2], counts, " ")
  points += counts[1]
  failing += counts[4]
}
END { printf "\n%d fault points in all, %d failing (%s s); the details are in '"$log"'\n",
             points, failing, "'"$seconds"'" }' "$log"
# The first failing fault points, one line each.
grep -A2 -E 'Failure$' "$log" | grep -v -E 'Failure$|^Failed$|^--$' | cut -c1-220 | head -20 |
  sed 's/^/  /' || true
[ "$status" -eq 0 ] || exit 1
