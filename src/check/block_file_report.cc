#include "check/block_file_report.h"

#include <algorithm>

#include "check/check_failure.h"
#include "freeform/free_form_reader.h"
#include "freeform/record_source.h"
#include "model/blocks/block_statements.h"
#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"

namespace {

constexpr int32_t kBlockUnit = 1;

// Room made at once for the blocks the count announces; a count larger than the file
// holds is met with an early end of the file, not with a huge allocation.
constexpr int32_t kBlocksReservedAtOnce = 1 << 16;

}  // namespace

bool readBlockFile(const char* name, int length, const Mesh& mesh, BlockFileReport& report) {
  if (openConnection(kBlockUnit, name, length, OpenMode::Input) != 0) return false;
  {
    Connection& connection = *lookUpConnection(kBlockUnit);
    report.path = connection.fileName;
    FreeFormReader reader(connection);
    readBlockFileHead(reader, report.background, report.blockCount);
    const int32_t count = std::max(report.blockCount, 0);
    report.read.reserve(static_cast<size_t>(std::min(count, kBlocksReservedAtOnce)));
    report.cells.reserve(report.read.capacity());
    report.lines.reserve(report.read.capacity());
    // One record for all blocks: a field a block leaves unread keeps the previous
    // block's value, as ordered when that block was snapped.
    BlockRecord block;
    const char terminator = inputRecordEnd(connection);
    for (int32_t b = 0; b < count; ++b) {
      const int64_t before = connection.recordsRead.load(std::memory_order_relaxed);
      setCheckReadingBlock(b + 1, count, before + 1);
      // A record of one whole block of plain decimals is read as boxpaint reads it when
      // reading ahead; any other through the statement.
      if (!readPlainBlock(reader, terminator, block)) readBlock(reader, block);
      const int64_t after = connection.recordsRead.load(std::memory_order_relaxed);
      if (after > before + 1) setCheckReadOn(b + 1, before + 1, after);
      report.lines.push_back({before + 1, after});
      report.read.push_back(block);
      report.cells.push_back(blockCells(mesh, block));
    }
  }
  closeConnection(kBlockUnit);
  skipBlankLines(report.path.c_str(), report.lines);
  report.visible.assign(report.read.size(), 0);
  return true;
}
