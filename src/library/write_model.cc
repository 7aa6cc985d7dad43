// The model file written from an array of values, through the connection and output
// channel that boxpaint's own model file goes through: each room of records rendered on
// two threads while the channel's writer hands the rooms before to the system.
#include <algorithm>
#include <atomic>
#include <cstdint>

#include "boxpaint/model.h"
#include "library/file_call_lock.h"
#include "library/library_failure.h"
#include "library/output_connection.h"
#include "library/render_records.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_output.h"
#include "runtime/records/record_batch.h"
#include "runtime/threads/helper_thread.h"

namespace {

// Records either thread renders at a time, claimed in turn.
constexpr size_t kShareRecords = size_t{1} << 12;

// Fewest values worth a second thread.
constexpr size_t kThreadedValues = size_t{1} << 16;

// One room's records to render, shared out between the threads that take part.
struct RenderJob {
  const double* values = nullptr;
  size_t count = 0;
  size_t stride = 0;
  char* out = nullptr;
  std::atomic<size_t> nextShare{0};
};

// Renders shares of the room until none is left.
void renderShares(void* argument) {
  RenderJob& job = *static_cast<RenderJob*>(argument);
  for (;;) {
    const size_t first = job.nextShare.fetch_add(1, std::memory_order_relaxed) * kShareRecords;
    if (first >= job.count) return;
    renderTexts(job.values + first, std::min(kShareRecords, job.count - first), job.stride,
                job.out + first * job.stride);
  }
}

// The connection's terminator for `terminator`.
TerminatorKind terminatorKind(boxpaint::Terminator terminator) {
  switch (terminator) {
    case boxpaint::Terminator::LF:
      return TerminatorKind::LF;
    case boxpaint::Terminator::CR:
      return TerminatorKind::CR;
    case boxpaint::Terminator::CRLF:
      break;
  }
  return TerminatorKind::CRLF;
}

// Writes one record per value to the model connection `connection`, returning the first
// failure of its channel or the caller's stop.
Failure writeValues(Connection& connection, std::span<const double> values,
                    const boxpaint::CallControl* control, bool& stopped) {
  expectOutput(connection.output,
               values.size() * recordLength(connection.output, boxpaint::kValueWidth));
  HelperThread helper;
  const bool threaded = values.size() >= kThreadedValues;
  RenderJob job;
  for (size_t done = 0; done < values.size();) {
    RecordRoom room;
    if (const Failure failure = outputFailure(
            connection,
            reserveRecords(connection.output, boxpaint::kValueWidth, values.size() - done, room))) {
      return failure;
    }
    job.values = values.data() + done;
    job.count = room.count;
    job.stride = room.stride;
    job.out = room.bytes;
    job.nextShare.store(0, std::memory_order_relaxed);
    // With no thread to be had, this thread renders every share itself.
    const bool shared =
        threaded && room.count > kShareRecords && handOverJob(helper, renderShares, &job);
    renderShares(&job);
    if (shared) waitForJob(helper);
    if (const Failure failure =
            outputFailure(connection, commitRecords(connection.output, room.count))) {
      return failure;
    }
    done += room.count;
    if (done < values.size() && !keepGoing(control)) {
      stopped = true;
      return stopFailure();
    }
  }
  return {};
}

}  // namespace

namespace boxpaint {

Failure writeModel(const std::string& path, std::span<const double> values, Terminator terminator,
                   const CallControl* control) {
  if (Failure failure = nameFailure(path); failed(failure)) return failure;
  const FileCallLock lock;
  return failingOnMemory([&] {
    bool stopped = false;
    const Failure failure = writeOutputFile(
        path, terminatorKind(terminator),
        [&](Connection& connection) { return writeValues(connection, values, control, stopped); });
    return stopped ? stoppedFailure() : failure;
  });
}

}  // namespace boxpaint
