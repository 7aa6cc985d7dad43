#include "model/blocks/read_blocks.h"

#include "freeform/free_form_reader.h"
#include "freeform/record_source.h"
#include "model/blocks/block_statements.h"
#include "model/blocks/blocks_ahead.h"
#include "model/blocks/model_size.h"
#include "model/blocks/painted_block.h"
#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"

namespace {

constexpr int32_t kBlockUnit = 1;

// Takes in the blocks read ahead, up to `most` of them, as though read in turn: appends
// those that paint, passes the reader over their records, and leaves `block` as the last
// statement left it. Returns how many it took.
int32_t takeBlocksAhead(const BlocksAhead& ahead, int32_t most, FreeFormReader& reader,
                        BlockRecord& block, BlockPlan& plan) {
  if (ahead.count <= static_cast<size_t>(most)) {
    appendBlocks(plan.blocks, ahead.painted, ahead.paintedCount);
    reader.skipRecords(ahead.length, static_cast<int64_t>(ahead.count));
    block = ahead.last;
    return static_cast<int32_t>(ahead.count);
  }
  // The count of blocks is reached among them, and no statement follows.
  size_t length = 0;
  size_t painted = 0;
  for (int32_t k = 0; k < most; ++k) {
    length += ahead.records[k] & ~kRecordPaints;
    painted += static_cast<size_t>((ahead.records[k] & kRecordPaints) != 0);
  }
  appendBlocks(plan.blocks, ahead.painted, painted);
  reader.skipRecords(length, most);
  return most;
}

}  // namespace

bool readBlocks(const char* name, int length, const Mesh& mesh, BlockPlan& plan,
                const ReadAheadLimits& limits) {
  // The model is never held whole, but one too large for the size rule is refused,
  // before the block file is opened.
  checkModelSize(mesh);
  if (openConnection(kBlockUnit, name, length, OpenMode::Input) != 0) return false;
  {
    Connection& connection = *lookUpConnection(kBlockUnit);
    FreeFormReader reader(connection);
    int32_t blockCount = 0;
    readBlockFileHead(reader, plan.background, blockCount);
    expectBlocks(plan.blocks, blockCount);

    // One record for all blocks: a field a block leaves unread keeps the previous
    // block's value, as ordered.
    BlockRecord block;
    // Many blocks are read on two threads: while this one reads the records it holds in
    // turn, the other reads the later ones, for as long as each is one whole block. Where
    // this one comes to the first of those between statements, it takes them in; where a
    // statement runs past it, they are dropped.
    BlocksAhead ahead;
    ahead.mesh = &mesh;
    ahead.terminator = inputRecordEnd(connection);
    const bool readingAhead = blockCount >= limits.fewestBlocks && reader.widenReads(limits.window);
    for (int32_t b = 0; b < blockCount;) {
      if (readingAhead) {
        const RecordSource& records = reader.records();
        const int64_t next = followingOffset(records);
        if (ahead.pending && next >= ahead.offset) {
          finishBlocksAhead(ahead);
          if (next == ahead.offset && ahead.count > 0) {
            b += takeBlocksAhead(ahead, blockCount - b, reader, block, plan);
            continue;
          }
        }
        startBlocksAhead(ahead, records.buffer + records.followingStart, records.followingCount,
                         next, limits.fewestBytes);
      }
      // Its own records too are read without a statement's work where each is a whole
      // block, the same way the other thread reads.
      if (!readingAhead || !readPlainBlock(reader, ahead.terminator, block)) {
        readBlock(reader, block);
      }
      ++b;
      PaintedBlock painted;
      if (makePaintedBlock(mesh, block, painted)) appendBlock(plan.blocks) = painted;
    }
  }
  closeConnection(kBlockUnit);
  return true;
}
