// The block file: a background value and axis-aligned blocks painted over it in order.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "boxpaint/failure.h"

namespace boxpaint {

/// One block: its bounds along easting, northing and elevation, each pair in either
/// order, and the value its cells take. Seven doubles in this order, so that an array of
/// blocks is an array of rows of seven.
struct Block {
  double e1 = 0, e2 = 0, n1 = 0, n2 = 0, z1 = 0, z2 = 0, value = 0;
};

/// A block file as boxpaint reads it.
struct BlockFile {
  double background = 0;
  int32_t count = 0;          // the block count as written; no block is read when it is <= 0
  std::vector<Block> blocks;  // each block's seven values as read, a field left out (a
                              // null or a slash) holding what it carries over
};

/// Reads the block file `path` as boxpaint does, failing as readMesh does. A field a block
/// leaves out (a null or a slash) holds what boxpaint carries over into it: the value the
/// block before left there, its bounds put in order.
Failure readBlocks(const std::string& path, BlockFile& file);

/// Writes a block file of `background` and `blocks`, one block a line, each number in the
/// shortest text that reads back as the same double. The file is opened
/// as writeModel opens a model file, and replaced; after a failure it holds whole lines
/// only.
Failure writeBlocks(const std::string& path, double background, std::span<const Block> blocks);

}  // namespace boxpaint
