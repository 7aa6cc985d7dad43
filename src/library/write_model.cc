// The model file written from an array of values: the records rendered a piece at a time
// on two threads while the piece before is written.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "boxpaint/model.h"
#include "library/file_call_lock.h"
#include "library/library_failure.h"
#include "library/output_file.h"
#include "library/render_records.h"
#include "runtime/platform/helper_thread.h"

namespace {

// Records written at a time: under a megabyte.
constexpr size_t kPieceRecords = size_t{1} << 16;

// Records either thread renders at a time, claimed in turn.
constexpr size_t kShareRecords = size_t{1} << 12;

// One piece's records to render, shared out between the threads that take part.
struct RenderJob {
  const double* values = nullptr;
  size_t count = 0;
  std::string_view terminator;
  char* out = nullptr;
  std::atomic<size_t> nextShare{0};
};

// Renders shares of the piece until none is left.
void renderShares(void* argument) {
  RenderJob& job = *static_cast<RenderJob*>(argument);
  const size_t length = boxpaint::kValueWidth + job.terminator.size();
  for (;;) {
    const size_t first = job.nextShare.fetch_add(1, std::memory_order_relaxed) * kShareRecords;
    if (first >= job.count) return;
    const size_t count = std::min(kShareRecords, job.count - first);
    renderRecords(job.values + first, count, job.terminator, job.out + first * length);
  }
}

// Starts rendering `count` values into `out`: on the helper, which the caller joins with
// renderShares, then waits for.
void startRendering(HelperThread& helper, RenderJob& job, const double* values, size_t count,
                    char* out) {
  job.values = values;
  job.count = count;
  job.out = out;
  job.nextShare.store(0, std::memory_order_relaxed);
  // With no thread to be had, the caller renders every share itself.
  handOverJob(helper, renderShares, &job);
}

}  // namespace

namespace boxpaint {

Failure writeModel(const std::string& path, std::span<const double> values, Terminator terminator,
                   const CallControl* control) {
  const FileCallLock lock;
  return failingOnMemory([&] {
    OutputFile file;
    Failure failure = openOutputFile(path, file);
    if (failed(failure)) return failure;
    const size_t length = recordLength(terminator);
    const size_t total = values.size();
    std::vector<char> buffers[2];
    for (std::vector<char>& buffer : buffers)
      buffer.resize(std::min(total, kPieceRecords) * length);
    RenderJob job;
    job.terminator = terminatorBytes(terminator);
    HelperThread helper;
    // The first piece on both threads; a model of one piece on this thread alone, for which
    // no thread is worth starting.
    job.values = values.data();
    job.count = std::min(total, kPieceRecords);
    job.out = buffers[0].data();
    if (total > kPieceRecords) startRendering(helper, job, values.data(), job.count, job.out);
    renderShares(&job);
    waitForJob(helper);
    for (size_t first = 0, piece = 0; first < total; first += kPieceRecords, ++piece) {
      const size_t count = std::min(kPieceRecords, total - first);
      const size_t next = first + count;
      // The next piece is rendered while this one is written; this thread joins in after.
      if (next < total) {
        startRendering(helper, job, values.data() + next, std::min(kPieceRecords, total - next),
                       buffers[(piece + 1) % 2].data());
      }
      failure = writePiece(file, buffers[piece % 2].data(), count * length);
      if (next < total) {
        renderShares(&job);
        waitForJob(helper);
      }
      if (failed(failure)) return failure;
      if (!keepGoing(control)) {
        closeOutputFile(file);
        return stoppedFailure();
      }
    }
    return closeOutputFile(file);
  });
}

}  // namespace boxpaint
