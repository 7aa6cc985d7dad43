#include "check/block_file_report.h"

#include <algorithm>

#include "check/check_failure.h"
#include "model/blocks/read_each_block.h"
#include "runtime/connections/open_connection.h"
#include "runtime/process/finish_run.h"

namespace {

// Room made at once for the blocks the count announces; a count larger than the file
// holds is met with an early end of the file, not with a huge allocation.
constexpr int32_t kBlocksReservedAtOnce = 1 << 16;

// The report's side of reading the block file.
struct ReportReading {
  const Mesh* mesh = nullptr;
  BlockFileReport* report = nullptr;
};

void takeHead(void* context, const char* path, FreeFormReader&, double background, int32_t count) {
  BlockFileReport& report = *static_cast<ReportReading*>(context)->report;
  report.path = path;
  report.background = background;
  report.blockCount = count;
  const size_t reserved = static_cast<size_t>(std::clamp(count, 0, kBlocksReservedAtOnce));
  report.read.reserve(reserved);
  report.cells.reserve(report.read.capacity());
  report.lines.reserve(report.read.capacity());
}

void startBlock(void* context, int32_t index, int64_t record) {
  setCheckReadingBlock(index + 1, static_cast<ReportReading*>(context)->report->blockCount, record);
}

// Each block's values as read, then its cells, which orders its bounds in place: a field
// the next block leaves unread keeps the ordered value, as boxpaint reads it.
bool takeBlock(void* context, int32_t index, BlockRecord& block, int64_t first, int64_t last) {
  const ReportReading& reading = *static_cast<ReportReading*>(context);
  BlockFileReport& report = *reading.report;
  if (last > first) setCheckReadOn(index + 1, first, last);
  report.lines.push_back({first, last});
  report.read.push_back(block);
  report.cells.push_back(blockCells(*reading.mesh, block));
  return true;
}

}  // namespace

bool readBlockFile(const char* name, int length, const Mesh& mesh, BlockFileReport& report) {
  ReportReading reading{&mesh, &report};
  BlockHandOff handOff;
  handOff.context = &reading;
  handOff.head = takeHead;
  handOff.next = startBlock;
  handOff.block = takeBlock;
  if (const Failure failure = readEachBlock(name, length, handOff)) {
    if (isOpenRefusal(failure)) return false;
    endRunForFailure(failure);
  }
  skipBlankLines(report.path.c_str(), report.lines);
  report.visible.assign(report.read.size(), 0);
  return true;
}
