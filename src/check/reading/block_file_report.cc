#include "check/reading/block_file_report.h"

#include <algorithm>

#include "model/blocks/read_each_block.h"

namespace {

// Room made at once for the blocks the count announces; a count larger than the file
// holds is met with an early end of the file, not with a huge allocation.
constexpr int32_t kBlocksReservedAtOnce = 1 << 16;

// The report's side of reading the block file.
struct ReportReading {
  const Mesh* mesh = nullptr;
  BlockFileReport* report = nullptr;
  BlockReading* reading = nullptr;
};

void takeHead(void* context, const char* path, FreeFormReader&, double background, int32_t count) {
  static_cast<ReportReading*>(context)->reading->headRead = true;
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
  BlockReading& reading = *static_cast<ReportReading*>(context)->reading;
  reading.block = index + 1;
  reading.blockRecord = record;
}

// Each block's values as read, then its cells, which orders its bounds in place: a field
// the next block leaves unread keeps the ordered value, as boxpaint reads it.
bool takeBlock(void* context, int32_t, BlockRecord& block, int64_t first, int64_t last) {
  const ReportReading& reading = *static_cast<ReportReading*>(context);
  BlockFileReport& report = *reading.report;
  report.lines.push_back({first, last});
  report.read.push_back(block);
  report.cells.push_back(blockCells(*reading.mesh, block));
  return true;
}

}  // namespace

Failure readBlockFile(const char* name, int length, const Mesh& mesh, BlockFileReport& report,
                      BlockReading& where) {
  where = BlockReading{};
  ReportReading reading{&mesh, &report, &where};
  BlockHandOff handOff;
  handOff.context = &reading;
  handOff.head = takeHead;
  handOff.next = startBlock;
  handOff.block = takeBlock;
  if (const Failure failure = readEachBlock(name, length, handOff)) return failure;
  skipBlankLines(report.path.c_str(), report.lines);
  report.visible.assign(report.read.size(), 0);
  return {};
}
