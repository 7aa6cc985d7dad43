#include "model/paint_blocks.h"

#include <algorithm>
#include <cstring>

#include "freeform/free_form_reader.h"
#include "model/block_record.h"
#include "model/paint_block.h"
#include "runtime/allocate_array.h"
#include "runtime/close_connection.h"
#include "runtime/open_connection.h"

namespace {

constexpr int32_t kBlockUnit = 1;

bool isPositiveZero(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits == 0;
}

}  // namespace

CellModel createCellModel(const Mesh& mesh) {
  CellModel model;
  model.mz = std::max(mesh.elevation.cellCount, 0);
  model.me = std::max(mesh.easting.cellCount, 0);
  model.mn = std::max(mesh.northing.cellCount, 0);
  model.values = static_cast<double*>(
      allocateArray({static_cast<uint32_t>(model.mz), static_cast<uint32_t>(model.me),
                     static_cast<uint32_t>(model.mn)},
                    8));
  return model;
}

bool paintBlocks(const char* name, int length, const Mesh& mesh, CellModel& model) {
  model = createCellModel(mesh);
  if (openConnection(kBlockUnit, name, length, OpenMode::Input) != 0) return false;
  {
    FreeFormReader reader(*findConnection(kBlockUnit));
    double background = 0;
    reader.beginStatement();
    reader.readReal(background);
    reader.endStatement();
    // The model comes all zero bytes: a background of +0 needs no fill (and leaves
    // untouched pages unallocated until painted).
    if (!isPositiveZero(background)) fillModel(model, background);

    int32_t blockCount = 0;
    reader.beginStatement();
    reader.readInteger(blockCount);
    reader.endStatement();

    // One record for all blocks: a field a block leaves unread keeps the previous
    // block's value, as ordered.
    BlockRecord block;
    for (int32_t b = 0; b < blockCount; ++b) {
      reader.beginStatement();
      reader.readReal(block.e1);
      reader.readReal(block.e2);
      reader.readReal(block.n1);
      reader.readReal(block.n2);
      reader.readReal(block.z1);
      reader.readReal(block.z2);
      reader.readReal(block.value);
      reader.endStatement();
      paintBlock(model, mesh, block);
    }
  }
  closeConnection(kBlockUnit);
  return true;
}
