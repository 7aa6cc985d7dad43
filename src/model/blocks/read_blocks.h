// Reading the block file into what the model needs of it.
#pragma once

#include <atomic>

#include "mesh/mesh.h"
#include "model/blocks/block_list.h"
#include "model/blocks/blocks_ahead.h"
#include "runtime/diagnostics/failure.h"

/// What the model needs of the block file: the background value and every block that
/// paints a cell, in file order, with its cells and its value.
struct BlockPlan {
  double background = 0;
  BlockList blocks;
};

/// Checks the model's size (message 179 when its byte size as doubles overflows 32 bits),
/// then reads the block file named by the blank-padded buffer `name` (unit 1): the
/// background, the count, and each block, whose bounds are ordered and snapped. Returns no
/// failure; 179; the open's refusal, when nothing is read; or a read failure (24, 59, 64,
/// 39, 98), refused memory (41) or a failing close (28). The file is closed whatever the
/// outcome. `limits` say when a second thread reads later blocks ahead; the blocks are the
/// same. With `stop`, the reading stops between blocks once it is set and returns the stop.
Failure readBlocks(const char* name, int length, const Mesh& mesh, BlockPlan& plan,
                   const ReadAheadLimits& limits = kReadAheadLimits,
                   const std::atomic<bool>* stop = nullptr);
