#include "model/blocks/read_blocks.h"

#include "freeform/free_form_reader.h"
#include "model/blocks/block_list.h"
#include "model/blocks/blocks_ahead.h"
#include "model/blocks/model_size.h"
#include "model/blocks/read_each_block.h"

namespace {

// The model's side of reading the block file.
struct ModelReading {
  const Mesh* mesh = nullptr;
  BlockPlan* plan = nullptr;
  const ReadAheadLimits* limits = nullptr;
  bool readingAhead = false;  // a second thread reads later blocks ahead
  BlocksAhead ahead;
};

void takeHead(void* context, const char*, FreeFormReader& reader, double background,
              int32_t count) {
  ModelReading& reading = *static_cast<ModelReading*>(context);
  reading.plan->background = background;
  expectBlocks(reading.plan->blocks, count);
  reading.readingAhead =
      count >= reading.limits->fewestBlocks && reader.widenReads(reading.limits->window);
}

bool takeBlock(void* context, int32_t, BlockRecord& block, int64_t, int64_t) {
  ModelReading& reading = *static_cast<ModelReading*>(context);
  PaintedBlock painted;
  if (!makePaintedBlock(*reading.mesh, block, painted)) return true;
  PaintedBlock* appended = appendBlock(reading.plan->blocks);
  if (appended != nullptr) *appended = painted;
  return appended != nullptr;
}

// Takes in the blocks read ahead, up to `most` of them, as though read in turn: appends
// those that paint, passes the reader over their records, and leaves `block` as the last
// statement left it. Returns how many it took, or -1 when memory is refused.
int32_t takeBlocksAhead(const BlocksAhead& ahead, int32_t most, FreeFormReader& reader,
                        BlockRecord& block, BlockPlan& plan) {
  if (ahead.count <= static_cast<size_t>(most)) {
    if (!appendBlocks(plan.blocks, ahead.painted, ahead.paintedCount)) return -1;
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
  if (!appendBlocks(plan.blocks, ahead.painted, painted)) return -1;
  reader.skipRecords(length, most);
  return most;
}

// Many blocks are read on two threads: while this one reads the records it holds in turn,
// the other reads the later ones, for as long as each is one whole block. Where this one
// comes to the first of those between statements, it takes them in; where a statement
// runs past it, they are dropped.
int32_t takeHeld(void* context, FreeFormReader& reader, int32_t, int32_t most, BlockRecord& block) {
  ModelReading& reading = *static_cast<ModelReading*>(context);
  if (!reading.readingAhead) return 0;
  BlocksAhead& ahead = reading.ahead;
  const HeldRecords held = reader.heldRecords();
  if (ahead.pending && held.offset >= ahead.offset) {
    finishBlocksAhead(ahead);
    if (held.offset == ahead.offset && ahead.count > 0) {
      return takeBlocksAhead(ahead, most, reader, block, *reading.plan);
    }
  }
  startBlocksAhead(ahead, held, reading.limits->fewestBytes);
  return 0;
}

}  // namespace

Failure readBlocks(const char* name, int length, const Mesh& mesh, BlockPlan& plan,
                   const ReadAheadLimits& limits, const std::atomic<bool>* stop) {
  // The model is never held whole, but one too large for the size rule is refused,
  // before the block file is opened.
  if (Failure tooLarge = checkModelSize(mesh)) return tooLarge;
  ModelReading reading;
  reading.mesh = &mesh;
  reading.plan = &plan;
  reading.limits = &limits;
  reading.ahead.mesh = &mesh;
  BlockHandOff handOff;
  handOff.context = &reading;
  handOff.head = takeHead;
  handOff.block = takeBlock;
  handOff.takeHeld = takeHeld;
  handOff.stop = stop;
  return readEachBlock(name, length, handOff);
}
