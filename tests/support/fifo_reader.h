// The far end of a FIFO that a run writes its model to: a thread drains it and keeps
// the bytes for the checks.
#pragma once

#include <atomic>
#include <string>
#include <thread>

/// Drains a FIFO on a thread of its own while a run writes to it.
class FifoReader {
 public:
  /// Opens the FIFO at `path` for reading and starts draining it. With `stallAfter` >= 0
  /// the reader stops once it holds that many bytes, until every writer has closed the
  /// FIFO or `stallLimitMs` have passed; then it drains the rest. While it stalls, it
  /// creates the file `fullMark` (when named) once the FIFO is too full for a write of
  /// PIPE_BUF bytes: its writer is then waiting.
  explicit FifoReader(const std::string& path, long long stallAfter = -1, int stallLimitMs = 0,
                      const std::string& fullMark = "");
  ~FifoReader();
  FifoReader(const FifoReader&) = delete;
  FifoReader& operator=(const FifoReader&) = delete;

  /// Once the writers are gone: drains what is left, stops the thread and returns
  /// every byte read.
  std::string finish();
  /// True when a stall ran out of time while a writer still held the FIFO open.
  bool stallRanOut() const { return stallRanOut_; }

 private:
  void drain();

  int fd_ = -1;
  int wake_[2] = {-1, -1};
  long long stallAfter_;
  int stallLimitMs_;
  std::string fullMark_;
  std::string bytes_;
  std::atomic<bool> stallRanOut_{false};
  std::thread thread_;
};
