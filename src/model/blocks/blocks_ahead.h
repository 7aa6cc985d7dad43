// Block statements read ahead on a second thread: the later part of what the block file's
// reader holds, one block a record, is read and snapped while the reader works through the
// earlier part.
#pragma once

#include <cstddef>
#include <cstdint>

#include "freeform/free_form_reader.h"
#include "freeform/record_source.h"
#include "mesh/mesh.h"
#include "model/blocks/block_list.h"
#include "model/blocks/block_record.h"
#include "runtime/platform/system_calls.h"
#include "runtime/threads/helper_thread.h"

/// When the blocks are read ahead.
struct ReadAheadLimits {
  int32_t fewestBlocks;  // a file of fewer blocks is read in turn, with no second thread
  size_t window;         // bytes each read of the block file takes
  size_t fewestBytes;    // least held text worth handing over
};

/// A few thousand blocks take a millisecond: below that a thread is not worth starting.
/// A read and the slack behind it fill one large page.
constexpr ReadAheadLimits kReadAheadLimits{16384, (size_t{2} << 20) - kReadableSlack,
                                           size_t{256} << 10};

/// Set in a record's entry when its block paints: the rest is the record's length.
constexpr uint32_t kRecordPaints = uint32_t{1} << 31;

/// A stretch of whole records handed to the second thread, and what it made of them.
/// Owns its memory and its thread, and waits for the thread when it goes, so that nothing
/// the thread reads or writes goes before it is done.
struct BlocksAhead {
  const Mesh* mesh = nullptr;
  char terminator = '\n';  // the byte that ends a record
  char* text = nullptr;    // the records, a copy, then kReadableSlack zeros
  size_t textCapacity = 0;
  size_t textLength = 0;
  int64_t offset = 0;  // where in the file text[0] lies
  // Each record read: its bytes, its terminator included, with kRecordPaints when its
  // block paints.
  uint32_t* records = nullptr;
  size_t recordCapacity = 0;
  size_t count = 0;   // records read: every one a whole block statement of plain decimals
  size_t length = 0;  // their bytes
  // The blocks of those records that paint, as the model takes them, in file order.
  PaintedBlock* painted = nullptr;
  size_t paintedCapacity = 0;
  size_t paintedCount = 0;
  BlockRecord last;       // the last of them as a statement leaves it, its bounds ordered
  bool pending = false;   // handed over and not yet waited for
  int64_t judgedEnd = 0;  // held text up to this file offset was not worth handing over
  HelperThread helper;    // the second thread, kept for every stretch

  BlocksAhead() = default;
  BlocksAhead(const BlocksAhead&) = delete;
  BlocksAhead& operator=(const BlocksAhead&) = delete;
  ~BlocksAhead();
};

/// Hands the later records of `held` (what the reader holds beyond its current record) to
/// the second thread, from the first record that starts past half of them: the thread
/// makes the blocks as the model keeps them, so that taking them in is one copy. Nothing
/// when fewer than `fewestBytes` are held, when the memory is refused, or when that first
/// record is not one whole block of plain decimals: the thread would stop at once, and
/// the copy would be made for nothing, as it would be for every read of a block file
/// written with more digits than the fast read takes. Held text that was not handed over is
/// not looked at again: the next hand-over waits for the reader's next read.
void startBlocksAhead(BlocksAhead& ahead, const HeldRecords& held, size_t fewestBytes);

/// Waits until the blocks handed over are read; `count` then says how many records.
void finishBlocksAhead(BlocksAhead& ahead);
