// What a block file holds and what each of its blocks does on the mesh.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "check/reading/block_lines.h"
#include "mesh/mesh.h"
#include "model/blocks/block_cells.h"
#include "model/blocks/block_record.h"
#include "runtime/diagnostics/failure.h"
#include "runtime/memory/system_allocator.h"

/// One item a block, for millions of blocks: on large pages where the system has them.
template <typename T>
using PerBlock = std::vector<T, SystemAllocator<T>>;

/// The block file as boxpaint reads it, and the cells of the finished model.
struct BlockFileReport {
  double background = 0;
  int32_t blockCount = 0;       // the count as read; no block is read when it is <= 0
  PerBlock<BlockRecord> read;   // each block's seven values as read (fields a null or a
                                // slash left unread carry the previous block's values)
  PerBlock<BlockLines> lines;   // the lines each block was read from
  std::string path;             // the file's full path, as boxpaint names it
  PerBlock<BlockCells> cells;   // the cells each block paints
  PerBlock<int64_t> visible;    // the cells that show each block's value in the end
  int64_t backgroundCells = 0;  // the cells no block covers
};

/// Where reading the block file stood.
struct BlockReading {
  bool headRead = false;    // the background and the number of blocks were read
  int32_t block = 0;        // the block read last or being read, from 1; 0: none yet
  int64_t blockRecord = 0;  // the record its statement began on
};

/// Reads the block file named by the blank-padded buffer `name` (unit 1) as boxpaint
/// does, finds the lines each block was read from and the cells it paints on `mesh`;
/// `visible` and `backgroundCells` are left for countVisibleCells. Returns no failure, the
/// open's refusal, or what stopped the reading (a read failure, memory refused, a failing
/// close); `where` says where it stood.
Failure readBlockFile(const char* name, int length, const Mesh& mesh, BlockFileReport& report,
                      BlockReading& where);
