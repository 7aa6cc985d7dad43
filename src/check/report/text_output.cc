#include "check/report/text_output.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <string>
#include <vector>

#include "check/format/shortest_number.h"
#include "check/report/table_cells.h"
#include "check/warnings/check_warnings.h"
#include "runtime/memory/system_allocator.h"
#include "runtime/threads/helper_thread.h"

namespace {

constexpr std::array<const char*, kTableColumns> kHeadings = {
    "block", "line", "value",   "e1",       "e2",        "n1",      "n2",
    "z1",    "z2",   "easting", "northing", "elevation", "painted", "visible"};

// Appends `cell` right-aligned in `width` characters, after two blanks.
void appendAligned(std::string& text, std::string_view cell, size_t width) {
  text.append(2 + width - std::min(width, cell.size()), ' ');
  text.append(cell);
}

void appendAxisLine(std::string& text, const char* name, const NodeAxis& nodes,
                    const AxisSummary& axis, bool elevation) {
  text.append("  ").append(name).append(10 - std::string_view(name).size(), ' ');
  appendInteger(text, axis.cells);
  text.append(axis.cells == 1 ? " cell" : " cells");
  if (!axis.hasNodes) {
    text.append(" (a negative count: boxpaint keeps no node)\n");
    return;
  }
  text.append(" from ").append(nodeShown(nodes, axis, 0));
  text.append(elevation ? " (top) to " : " to ");
  text.append(nodeShown(nodes, axis, nodes.nodeCount - 1));
  if (elevation) text.append(" (bottom)");
  if (axis.hasSizes) {
    text.append(elevation ? "; thinnest cell " : "; smallest cell ");
    text.append(distanceShown(axis, axis.smallest));
    text.append(elevation ? ", thickest " : ", largest ");
    text.append(distanceShown(axis, axis.largest));
  }
  text.push_back('\n');
}

void appendMesh(std::string& text, const std::string& meshName, const Mesh& nodes,
                const MeshSummary& mesh) {
  text.append("Mesh ").append(meshName).append(": ");
  appendCounts(text, mesh.easting.cells, mesh.northing.cells, mesh.elevation.cells);
  text.append(" = ");
  appendInteger(text, mesh.cells);
  text.append(mesh.cells == 1 ? " cell" : " cells").append(" (easting x northing x elevation)\n");
  appendAxisLine(text, "easting", nodes.easting, mesh.easting, false);
  appendAxisLine(text, "northing", nodes.northing, mesh.northing, false);
  appendAxisLine(text, "elevation", nodes.elevation, mesh.elevation, true);
}

// Most characters of a warning's line: a word longer than the room stands alone.
constexpr size_t kWarningWidth = 100;

// Appends each warning after `indent` and "warning: ", broken at blanks into lines of at
// most kWarningWidth characters; the lines after the first begin under its text.
template <typename Text>
void appendWarnings(Text& text, std::string_view indent, const std::vector<std::string>& warnings) {
  constexpr std::string_view kWord = "warning: ";
  const size_t margin = indent.size() + kWord.size();
  const size_t room = kWarningWidth - margin;
  for (const std::string_view warning : warnings) {
    text.append(indent).append(kWord);
    size_t at = 0;
    while (warning.size() - at > room) {
      // The last blank that leaves the line within its room; past a longer word, the
      // blank after it.
      size_t cut = warning.rfind(' ', at + room);
      if (cut == std::string_view::npos || cut <= at) cut = warning.find(' ', at + 1);
      if (cut == std::string_view::npos) break;
      text.append(warning.substr(at, cut - at)).push_back('\n');
      text.append(margin, ' ');
      at = cut + 1;
    }
    text.append(warning.substr(at)).push_back('\n');
  }
}

// Text of many rows, held before it is written: on large pages where the system has them,
// since it is megabytes of memory new to the process.
using HeldText = std::basic_string<char, std::char_traits<char>, SystemAllocator<char>>;

// Where the rows of a stretch of blocks come from, and what they warned of.
struct TableRows {
  const Mesh* mesh = nullptr;
  const MeshSummary* summary = nullptr;
  const BlockFileReport* report = nullptr;
  const TableCells* cells = nullptr;
  std::array<size_t, kTableColumns> widths{};
  size_t rowLength = 0;            // the leading blank, the cells after their blanks, the line end
  size_t first = 0, last = 0;      // the blocks [first, last)
  const char* keptText = nullptr;  // the kept texts of block `first`, where kept
  // The warnings of blocks first..first + earlyEnds.size() - 1, made before the rows:
  // where each block's lines end in `earlyText`.
  const HeldText* earlyText = nullptr;
  std::span<const size_t> earlyEnds;
  HeldText text;  // rows made away from the sink
  int64_t warningCount = 0, warnedBlocks = 0;
};

// Appends the warning lines of block `index` to `text`, and counts them in `rows`.
template <typename Text>
void appendBlockWarnings(TableRows& rows, size_t index, Text& text) {
  const std::vector<std::string> warnings =
      groupedWarnings(findBlockWarnings(*rows.mesh, *rows.summary, *rows.report, index));
  appendWarnings(text, "      ", warnings);
  rows.warningCount += static_cast<int64_t>(warnings.size());
  if (!warnings.empty()) ++rows.warnedBlocks;
}

// Appends the rows of rows.first to rows.last, each with its warnings, to `text`, flushing
// `sink` after each when one is given. False as soon as a write fails.
template <typename Text>
bool appendRows(TableRows& rows, Text& text, ReportSink* sink) {
  const BlockFileReport& report = *rows.report;
  const TableCells& cells = *rows.cells;
  const char* keptText = rows.keptText;
  const uint8_t* keptLength =
      rows.first < cells.kept ? cells.lengths.get() + rows.first * kVisibleColumn : nullptr;
  char cell[kCellBytes];
  for (size_t b = rows.first; b < rows.last; ++b) {
    // Every row is as long as the heading: it is written in place, each cell after its
    // blanks, with no append per cell.
    const size_t start = text.size();
    text.resize(start + rows.rowLength, ' ');
    char* at = text.data() + start + 1;
    for (int c = 0; c < kTableColumns; ++c) {
      at += 2 + rows.widths[c];
      if (b < cells.kept && c < kVisibleColumn) {
        const size_t length = *keptLength++;
        std::memcpy(at - length, keptText, length);
        keptText += length;
        continue;
      }
      const size_t length = cellText(report, b, c, cell);
      std::memcpy(at - length, cell, length);
    }
    *at = '\n';
    const size_t early = b - rows.first;
    if (early < rows.earlyEnds.size()) {
      const size_t from = early == 0 ? 0 : rows.earlyEnds[early - 1];
      text.append(rows.earlyText->data() + from, rows.earlyEnds[early] - from);
    } else {
      appendBlockWarnings(rows, b, text);
    }
    // Nothing more is made for a reader that has gone.
    if (sink != nullptr && !flushSink(*sink, false)) return false;
  }
  return true;
}

void appendRowsAway(void* argument) {
  TableRows& rows = *static_cast<TableRows*>(argument);
  appendRows(rows, rows.text, nullptr);
}

// Most blocks whose rows the second thread makes: they are held whole until the rows
// before them are written.
constexpr size_t kRowsAway = 250000;

// Writes the table of the report's blocks (at least one), each row with its warnings, to
// `sink`, and counts the warnings and the blocks warned of. False as soon as a write
// fails.
bool writeTable(ReportSink& sink, const Mesh& mesh, const MeshSummary& summary,
                const BlockFileReport& report, TableCells& cells, int64_t& warningCount,
                int64_t& warnedBlocks) {
  std::string& text = sink.text;
  const size_t blocks = report.read.size();
  // Every column but the last was made while the model was painted; the last, the
  // cells still visible, is made here.
  if (cells.report != &report) startTableCells(cells, report);
  // While the other thread still makes cells, this one makes the warnings of the first
  // blocks, which need the visible cells and no cell text.
  TableRows early;
  early.mesh = &mesh;
  early.summary = &summary;
  early.report = &report;
  HeldText earlyText;
  std::vector<size_t> earlyEnds;
  while (earlyEnds.size() < blocks && !cells.made.load(std::memory_order_acquire)) {
    appendBlockWarnings(early, earlyEnds.size(), earlyText);
    earlyEnds.push_back(earlyText.size());
  }
  finishTableCells(cells);
  std::array<size_t, kTableColumns> widths = cells.widths;
  char cell[kCellBytes];
  for (size_t b = 0; b < blocks; ++b) {
    widths[kVisibleColumn] =
        std::max(widths[kVisibleColumn], cellText(report, b, kVisibleColumn, cell));
  }
  for (int c = 0; c < kTableColumns; ++c) {
    widths[c] = std::max(widths[c], std::string_view(kHeadings[c]).size());
  }
  text.append(" ");
  for (int c = 0; c < kTableColumns; ++c) appendAligned(text, kHeadings[c], widths[c]);
  text.push_back('\n');
  // The rows of the later blocks, up to kRowsAway of them, are made on a second thread
  // while this one writes the earlier ones; then they are written after them.
  TableRows head;
  head.mesh = &mesh;
  head.summary = &summary;
  head.report = &report;
  head.cells = &cells;
  head.widths = widths;
  head.rowLength = 2;
  for (int c = 0; c < kTableColumns; ++c) head.rowLength += 2 + widths[c];
  head.keptText = cells.texts.get();
  TableRows tail = head;
  // The other thread takes fewer: its rows are held, and the memory that holds them
  // is new to the process. Those whose warnings are made are this thread's.
  const size_t split = std::max(earlyEnds.size(), blocks - std::min(blocks * 2 / 5, kRowsAway));
  head.earlyText = &earlyText;
  head.earlyEnds = earlyEnds;
  head.warningCount = early.warningCount;
  head.warnedBlocks = early.warnedBlocks;
  head.last = tail.first = split;
  tail.last = blocks;
  const size_t keptBefore = std::min(split, cells.kept) * kVisibleColumn;
  for (size_t k = 0; k < keptBefore; ++k) tail.keptText += cells.lengths[k];
  HelperThread helper;
  bool away = false;
  if (tail.first < tail.last) {
    // Room for the rows and a warning or so each, so that they are seldom moved.
    tail.text.reserve((tail.last - tail.first) * (tail.rowLength + 64));
    away = handOverJob(helper, appendRowsAway, &tail);
  }
  // With no second thread to be had, this one makes every row in turn.
  if (!away) head.last = blocks;
  // The thread only reads what this one reads, and writes to `tail`: it is waited for
  // before either goes, even where a write fails.
  const bool written = appendRows(head, text, &sink);
  waitForJob(helper);
  if (!written) return false;
  // A piece at a time, so that the later rows are not held twice.
  constexpr size_t kPiece = size_t{1} << 20;
  for (size_t at = 0; at < tail.text.size(); at += kPiece) {
    text.append(tail.text.data() + at, std::min(kPiece, tail.text.size() - at));
    if (!flushSink(sink, false)) return false;
  }
  warningCount = head.warningCount + tail.warningCount;
  warnedBlocks = head.warnedBlocks + tail.warnedBlocks;
  return true;
}

}  // namespace

bool writeTextReport(ReportSink& sink, const std::string& meshName, const std::string& blockName,
                     const Mesh& mesh, const MeshSummary& summary, const BlockFileReport& report,
                     const std::vector<std::string>& fileWarnings, TableCells& cells) {
  std::string& text = sink.text;
  appendMesh(text, meshName, mesh, summary);
  appendWarnings(text, "  ", fileWarnings);

  text.append("\nBlock file ").append(blockName).append(": background ");
  appendPlainNumber(text, report.background);
  text.append(", ");
  appendInteger(text, report.blockCount);
  text.append(report.blockCount == 1 ? " block" : " blocks");
  text.append(report.blockCount < 0 ? " (no block is read)\n" : "\n");

  const size_t blocks = report.read.size();
  int64_t warningCount = 0, warnedBlocks = 0;
  if (blocks > 0 && !writeTable(sink, mesh, summary, report, cells, warningCount, warnedBlocks)) {
    return false;
  }

  text.append("\nBackground: ");
  appendInteger(text, report.backgroundCells);
  text.append(" of ");
  appendInteger(text, summary.cells);
  text.append(summary.cells == 1 ? " cell keeps" : " cells keep");
  text.append(" the background value ");
  appendPlainNumber(text, report.background);
  text.append("\n");
  const int64_t fileWarningCount = static_cast<int64_t>(fileWarnings.size());
  if (warningCount + fileWarningCount == 0) {
    text.append("No warnings\n");
    return flushSink(sink, true);
  }
  // "Warnings: 1 on the files; 4 on 3 of 6 blocks": each count beside what it counts.
  text.append("Warnings: ");
  if (fileWarningCount > 0) {
    appendInteger(text, fileWarningCount);
    text.append(" on the files");
  }
  if (warningCount > 0) {
    if (fileWarningCount > 0) text.append("; ");
    appendInteger(text, warningCount);
    text.append(" on ");
    appendInteger(text, warnedBlocks);
    text.append(" of ");
    appendInteger(text, static_cast<int64_t>(blocks));
    text.append(blocks == 1 ? " block" : " blocks");
  }
  text.push_back('\n');
  return flushSink(sink, true);
}
