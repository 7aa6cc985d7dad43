// One open file of the run: its unit number, resolved name, descriptor and the
// output block that gathers complete records before they reach the system.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

/// Longest resolved file name a connection keeps, not counting the NUL.
constexpr int kMaxFileName = 256;

/// What a connection may do with its file.
enum class Access { Read, Write };

/// How records end: `Normal` is CR LF on output and LF (CRs before it dropped) on
/// input; the others are chosen by the record-terminator switch.
enum class TerminatorKind { Normal, CR, LF, CRLF };

/// Consecutive complete records of one length in an output block, for cutting a
/// file at a record end when a hand-over fails part-way.
struct RecordRun {
  uint32_t start = 0;            // offset in the block of the run's first record
  std::atomic<uint32_t> end{0};  // offset just behind its last record
  uint32_t length = 0;           // bytes per record, terminator included
};

/// Most runs of equal-length records one block holds before it is handed over.
constexpr int kMaxRecordRuns = 64;

/// The output side of a write connection. Complete records are gathered in `block`
/// (only when `gather` is set; otherwise each record is handed over on completion).
/// The current, incomplete record sits behind `complete`.
struct OutputBlock {
  char* block = nullptr;
  size_t capacity = 0;
  size_t used = 0;                  // bytes in block: complete records + current record
  std::atomic<size_t> complete{0};  // bytes of complete records in block
  RecordRun runs[kMaxRecordRuns];
  std::atomic<int> runCount{0};
  int64_t fileOffset = 0;       // bytes handed over so far
  int64_t writebackOffset = 0;  // bytes the disk was asked to take so far
  bool gather = false;          // hand over in blocks rather than per record
  bool regularFile = false;     // a disk file: may be cut at a record end
  bool failed = false;          // a hand-over failed; nothing more is written
  bool closed = false;          // closed for the end of the run by any thread
};

/// One connected unit.
struct Connection {
  int32_t unit = 0;
  char fileName[kMaxFileName + 1] = {};
  Access access = Access::Read;
  std::atomic<int> fd{-1};            // -1 once closed
  bool ownsDescriptor = true;         // false for the standard streams (never closed)
  bool truncateOnFirstWrite = false;  // cleared by the first hand-over
  TerminatorKind terminator = TerminatorKind::Normal;
  OutputBlock output;
  std::mutex handOverLock;  // serialises hand-overs with an ending thread
};
