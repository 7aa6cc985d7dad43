#include "check/report/table_cells.h"

#include <algorithm>
#include <cstring>

namespace {

size_t rangeText(CellRange range, char* out) {
  if (isEmpty(range)) {
    std::memcpy(out, "none", 4);
    return 4;
  }
  char number[kNumberTextBytes];
  size_t length = integerText(range.first, number);
  std::memcpy(out, number, length);
  out[length++] = '-';
  const size_t last = integerText(range.last, number);
  std::memcpy(out + length, number, last);
  return length + last;
}

// Makes every cell but the last column's, block by block, keeping the texts while there
// is room for a whole block more. Touches only `cells` and what of the report does not
// change meanwhile, and writes to `cells` at the end.
void makeCells(void* argument) {
  TableCells& cells = *static_cast<TableCells*>(argument);
  const BlockFileReport& report = *cells.report;
  const size_t blocks = report.read.size();
  char* const texts = cells.texts.get();
  uint8_t* const lengths = cells.lengths.get();
  std::array<size_t, kTableColumns> widths{};
  char cell[kCellBytes];
  size_t used = 0;
  size_t kept = 0;
  for (size_t b = 0; b < blocks; ++b) {
    const bool keeping = kept == b && kept < cells.keptCapacity &&
                         cells.textCapacity - used >= kVisibleColumn * kCellBytes;
    for (int c = 0; c < kVisibleColumn; ++c) {
      const size_t length = cellText(report, b, c, cell);
      widths[c] = std::max(widths[c], length);
      if (keeping) {
        std::memcpy(texts + used, cell, length);
        used += length;
        lengths[kept * kVisibleColumn + static_cast<size_t>(c)] = static_cast<uint8_t>(length);
      }
    }
    kept += static_cast<size_t>(keeping);
  }
  cells.widths = widths;
  cells.kept = kept;
  cells.made.store(true, std::memory_order_release);
}

}  // namespace

size_t cellText(const BlockFileReport& report, size_t index, int column, char* out) {
  const BlockRecord& read = report.read[index];
  const BlockCells& cells = report.cells[index];
  switch (column) {
    case 0:
      return integerText(static_cast<int64_t>(index) + 1, out);
    case 1:
      return integerText(report.lines[index].first, out);
    case 2:
      return plainNumberText(read.value, out);
    case 3:
      return plainNumberText(read.e1, out);
    case 4:
      return plainNumberText(read.e2, out);
    case 5:
      return plainNumberText(read.n1, out);
    case 6:
      return plainNumberText(read.n2, out);
    case 7:
      return plainNumberText(read.z1, out);
    case 8:
      return plainNumberText(read.z2, out);
    case 9:
      return rangeText(cells.easting, out);
    case 10:
      return rangeText(cells.northing, out);
    case 11:
      return rangeText(cells.elevation, out);
    case 12:
      return integerText(cellsPainted(cells), out);
    default:
      return integerText(report.visible[index], out);
  }
}

TableCells::~TableCells() {
  finishTableCells(*this);
}

void startTableCells(TableCells& cells, const BlockFileReport& report) {
  finishTableCells(cells);
  cells.report = &report;
  cells.kept = 0;
  cells.made.store(false, std::memory_order_relaxed);
  // Room for the texts of as many blocks as the bound allows, each cell at least one
  // byte; refused memory keeps none, and the rows make their texts again.
  const size_t blocks = report.read.size();
  cells.keptCapacity = std::min(blocks, kKeptCellBytes / kVisibleColumn);
  cells.textCapacity = std::min(kKeptCellBytes, cells.keptCapacity * kVisibleColumn * kCellBytes);
  cells.texts.reset(static_cast<char*>(systemCalls().allocate(cells.textCapacity)));
  cells.lengths.reset(
      static_cast<uint8_t*>(systemCalls().allocate(cells.keptCapacity * kVisibleColumn)));
  if (!cells.texts || !cells.lengths) {
    cells.texts.reset();
    cells.lengths.reset();
    cells.textCapacity = 0;
    cells.keptCapacity = 0;
  }
  cells.pending = true;
  if (!handOverJob(cells.helper, makeCells, &cells)) makeCells(&cells);
}

void finishTableCells(TableCells& cells) {
  if (!cells.pending) return;
  waitForJob(cells.helper);
  cells.pending = false;
}
