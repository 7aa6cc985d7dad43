// The cells of the table of blocks, made on a second thread while the model is painted.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

#include "check/format/shortest_number.h"
#include "check/reading/block_file_report.h"
#include "runtime/platform/system_calls.h"
#include "runtime/threads/helper_thread.h"

/// Columns of the table: block, line, value, the six bounds as read, the cells along each
/// axis, the cells painted and the cells still visible.
constexpr int kTableColumns = 14;

/// The last column, the cells still visible: known only once the model is painted.
constexpr int kVisibleColumn = kTableColumns - 1;

/// Room for the text of any cell of the table: two integers and a dash at most.
constexpr size_t kCellBytes = 2 * kNumberTextBytes;

/// Most bytes of cell texts kept from the pass that finds the column widths for the rows:
/// the texts of the blocks beyond are made again, so that the report of a file of
/// millions of blocks takes no more memory than this for them.
constexpr size_t kKeptCellBytes = size_t{32} << 20;

/// Writes the text of column `column` of block `index` (from 0) into `out` (room for
/// kCellBytes); returns its length. Clear of the heap: made once for the column widths
/// and, where not kept, again for the row.
size_t cellText(const BlockFileReport& report, size_t index, int column, char* out);

/// The texts of every column but the last, made once: the widest of each column, and
/// for the first `kept` blocks the texts themselves, end to end, kVisibleColumn lengths a
/// block. Owns its memory and waits for its thread when it goes.
struct TableCells {
  const BlockFileReport* report = nullptr;
  std::array<size_t, kTableColumns> widths{};  // the last column's is not made here
  std::unique_ptr<char[], SystemRelease> texts;
  size_t textCapacity = 0;
  std::unique_ptr<uint8_t[], SystemRelease> lengths;
  size_t keptCapacity = 0;  // blocks the lengths have room for
  size_t kept = 0;
  HelperThread helper;            // the second thread
  bool pending = false;           // started and not yet waited for
  std::atomic<bool> made{false};  // every cell is made: the thread is about to end

  TableCells() = default;
  TableCells(const TableCells&) = delete;
  TableCells& operator=(const TableCells&) = delete;
  ~TableCells();
};

/// Starts making the cells of `report` on a second thread, or makes them at once where
/// none is to be had. Until finishTableCells, nothing of the report may change but the
/// counts of visible cells.
void startTableCells(TableCells& cells, const BlockFileReport& report);

/// Waits until the cells are made.
void finishTableCells(TableCells& cells);
