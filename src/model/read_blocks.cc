#include "model/read_blocks.h"

#include <cstring>

#include "freeform/free_form_reader.h"
#include "model/block_statements.h"
#include "model/model_size.h"
#include "model/value_texts.h"
#include "output/format_model_value.h"
#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"

namespace {

constexpr int32_t kBlockUnit = 1;

}  // namespace

bool readBlocks(const char* name, int length, const Mesh& mesh, BlockPlan& plan) {
  // The model is never held whole, but one too large for the size rule is refused,
  // before the block file is opened.
  checkModelSize(mesh);
  if (openConnection(kBlockUnit, name, length, OpenMode::Input) != 0) return false;
  {
    FreeFormReader reader(*lookUpConnection(kBlockUnit));
    double background = 0;
    int32_t blockCount = 0;
    readBlockFileHead(reader, background, blockCount);
    formatModelValue(background, plan.backgroundRecord);

    // One record for all blocks: a field a block leaves unread keeps the previous
    // block's value, as ordered.
    BlockRecord block;
    // Block files repeat a few values many times, in runs or interleaved: a text is
    // rendered once while its value recurs.
    ValueTexts texts;
    for (int32_t b = 0; b < blockCount; ++b) {
      readBlock(reader, block);
      const BlockCells cells = blockCells(mesh, block);
      if (paintsNothing(cells)) continue;
      PaintedBlock& painted = appendBlock(plan.blocks);
      painted.cells = cells;
      std::memcpy(painted.record, valueText(texts, block.value), kModelValueWidth);
    }
  }
  closeConnection(kBlockUnit);
  return true;
}
