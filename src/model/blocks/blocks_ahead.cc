#include "model/blocks/blocks_ahead.h"

#include <cstring>

#include "freeform/record_source.h"
#include "model/blocks/block_list.h"
#include "model/blocks/block_statements.h"

namespace {

// The shortest record a block takes: seven one-digit numbers, six blanks and a terminator.
constexpr size_t kShortestBlockRecord = 14;

// Reads the records handed over in turn, up to the first that is not a whole block of
// plain decimals (the reader takes that one, and those after it, itself), and makes each
// block that paints what the model keeps of it.
void readAhead(void* argument) {
  BlocksAhead& ahead = *static_cast<BlocksAhead*>(argument);
  // The reader looks at `ahead` between its statements: this thread writes to it only at
  // the end, so that the two never contend for the memory it lies in.
  const Mesh& mesh = *ahead.mesh;
  const char terminator = ahead.terminator;
  uint32_t* const records = ahead.records;
  PaintedBlock* const painted = ahead.painted;
  const char* at = ahead.text;
  const char* end = ahead.text + ahead.textLength;
  const char* readable = end + kReadableSlack;
  BlockRecord block;
  size_t count = 0;
  size_t paintedCount = 0;
  while (at < end) {
    BlockRecord next;
    const size_t length = readBlockLine(at, end, readable, terminator, next);
    // A record too long for its entry (gigabytes of text after the block) is the reader's.
    if (length == 0 || length >= kRecordPaints) break;
    block = next;
    at += length;
    const bool paints = makePaintedBlock(mesh, block, painted[paintedCount]);
    records[count++] = static_cast<uint32_t>(length) | (paints ? kRecordPaints : 0);
    paintedCount += static_cast<size_t>(paints);
  }
  ahead.last = block;
  ahead.count = count;
  ahead.length = static_cast<size_t>(at - ahead.text);
  ahead.paintedCount = paintedCount;
}

// Makes `memory` room for at least `wanted` items and `slack` bytes more, what it holds
// not kept; false, and it as it was, when the memory is refused.
template <typename Item>
bool holdAtLeast(Item*& memory, size_t& capacity, size_t wanted, size_t slack) {
  if (wanted <= capacity) return true;
  void* larger = systemCalls().allocate(wanted * sizeof(Item) + slack);
  if (larger == nullptr) return false;
  systemCalls().release(memory);
  memory = static_cast<Item*>(larger);
  capacity = wanted;
  return true;
}

}  // namespace

BlocksAhead::~BlocksAhead() {
  finishBlocksAhead(*this);
  systemCalls().release(text);
  systemCalls().release(records);
  systemCalls().release(painted);
}

void startBlocksAhead(BlocksAhead& ahead, const HeldRecords& held, size_t fewestBytes) {
  const size_t length = held.length;
  if (ahead.pending || length < fewestBytes || length == 0) return;
  if (held.offset + static_cast<int64_t>(length) <= ahead.judgedEnd) return;
  ahead.terminator = held.terminator;
  const char* end = held.text + length;
  const char* from = held.text + length / 2;
  const void* terminator = std::memchr(from, ahead.terminator, static_cast<size_t>(end - from));
  // Only whole records: the text up to the last terminator held.
  const char* last = end;
  if (terminator != nullptr) {
    from = static_cast<const char*>(terminator) + 1;
    while (last > from && last[-1] != ahead.terminator) --last;
  }
  const size_t bytes = terminator == nullptr ? 0 : static_cast<size_t>(last - from);
  // Work only for a thread that can take it: the first record is one it reads. Room for
  // all that is held, which no later hand-over from a read of the same size passes: the
  // memory is had, and its pages faulted in, once.
  BlockRecord first;
  if (bytes == 0 || readBlockLine(from, last, end + kReadableSlack, ahead.terminator, first) == 0 ||
      !holdAtLeast(ahead.text, ahead.textCapacity, length, kReadableSlack) ||
      !holdAtLeast(ahead.records, ahead.recordCapacity, length / kShortestBlockRecord + 1, 0) ||
      !holdAtLeast(ahead.painted, ahead.paintedCapacity, length / kShortestBlockRecord + 1, 0)) {
    ahead.judgedEnd = held.offset + static_cast<int64_t>(length);
    return;
  }
  std::memcpy(ahead.text, from, bytes);
  std::memset(ahead.text + bytes, 0, kReadableSlack);
  ahead.textLength = bytes;
  ahead.offset = held.offset + (from - held.text);
  ahead.count = 0;
  ahead.length = 0;
  ahead.paintedCount = 0;
  ahead.pending = true;
  // With no second thread to be had the records are read at once: the same blocks.
  if (!handOverJob(ahead.helper, readAhead, &ahead)) readAhead(&ahead);
}

void finishBlocksAhead(BlocksAhead& ahead) {
  if (!ahead.pending) return;
  waitForJob(ahead.helper);
  ahead.pending = false;
}
