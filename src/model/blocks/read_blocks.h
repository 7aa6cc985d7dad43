// Reading the block file into what the model needs of it.
#pragma once

#include "mesh/mesh.h"
#include "model/blocks/block_list.h"
#include "model/blocks/blocks_ahead.h"

/// What the model needs of the block file: the background value and every block that
/// paints a cell, in file order, with its cells and its value.
struct BlockPlan {
  double background = 0;
  BlockList blocks;
};

/// Checks the model's size (message 179 when its byte size as doubles overflows 32 bits),
/// then reads the block file named by the blank-padded buffer `name` (unit 1): the
/// background, the count, and each block, whose bounds are ordered and snapped. False when the file
/// cannot be opened; read errors end the run. `limits` say when a second thread reads later blocks
/// ahead; the blocks are the same.
bool readBlocks(const char* name, int length, const Mesh& mesh, BlockPlan& plan,
                const ReadAheadLimits& limits = kReadAheadLimits);
