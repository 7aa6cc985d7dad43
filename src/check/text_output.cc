#include "check/text_output.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "check/check_warnings.h"
#include "check/shortest_number.h"

namespace {

constexpr int kColumns = 14;
constexpr std::array<const char*, kColumns> kHeadings = {
    "block", "line", "value",   "e1",       "e2",        "n1",      "n2",
    "z1",    "z2",   "easting", "northing", "elevation", "painted", "visible"};

// Room for the text of any cell of the table: two integers and a dash at most.
constexpr size_t kCellBytes = 2 * kNumberTextBytes;

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

// Most bytes of cell texts kept from the pass that finds the column widths for the rows:
// the texts of the blocks beyond are made again, so that the report of a file of
// millions of blocks takes no more memory than this for them.
constexpr size_t kKeptCellBytes = size_t{32} << 20;

// Writes the text of column `column` of block `index` (from 0) into `out` (room for
// kCellBytes); returns its length. Made once for the column widths and, where not kept,
// again for the row, so it stays clear of the heap.
size_t cellText(const BlockFileReport& report, size_t index, int column, char* out) {
  const BlockRecord& read = report.read[index];
  const BlockCells& cells = report.cells[index];
  switch (column) {
    case 0:
      return integerText(static_cast<int64_t>(index) + 1, out);
    case 1:
      return integerText(report.lines[index].first, out);
    case 2:
      return numberText(read.value, out);
    case 3:
      return numberText(read.e1, out);
    case 4:
      return numberText(read.e2, out);
    case 5:
      return numberText(read.n1, out);
    case 6:
      return numberText(read.n2, out);
    case 7:
      return numberText(read.z1, out);
    case 8:
      return numberText(read.z2, out);
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

void appendWarnings(std::string& text, const char* indent,
                    const std::vector<std::string>& warnings) {
  for (const std::string& warning : warnings) {
    text.append(indent).append("warning: ").append(warning).push_back('\n');
  }
}

}  // namespace

bool writeTextReport(ReportSink& sink, const std::string& meshName, const std::string& blockName,
                     const Mesh& mesh, const MeshSummary& summary, const BlockFileReport& report,
                     const std::vector<std::string>& fileWarnings) {
  std::string& text = sink.text;
  appendMesh(text, meshName, mesh, summary);
  appendWarnings(text, "  ", fileWarnings);

  text.append("\nBlock file ").append(blockName).append(": background ");
  appendNumber(text, report.background);
  text.append(", ");
  appendInteger(text, report.blockCount);
  text.append(report.blockCount == 1 ? " block" : " blocks");
  text.append(report.blockCount < 0 ? " (no block is read)\n" : "\n");

  const size_t blocks = report.read.size();
  int64_t warningCount = 0, warnedBlocks = 0;
  if (blocks > 0) {
    std::array<size_t, kColumns> widths{};
    char cell[kCellBytes];
    for (int c = 0; c < kColumns; ++c) widths[c] = std::string_view(kHeadings[c]).size();
    // The texts made for the widths are kept, end to end, with their lengths, for the rows
    // of the first `kept` blocks: most of a report's work is making them.
    std::string keptTexts;
    std::vector<uint8_t> keptLengths;
    size_t kept = 0;
    for (size_t b = 0; b < blocks; ++b) {
      const bool keeping = kept == b && keptTexts.size() < kKeptCellBytes;
      for (int c = 0; c < kColumns; ++c) {
        const size_t length = cellText(report, b, c, cell);
        widths[c] = std::max(widths[c], length);
        if (keeping) {
          keptTexts.append(cell, length);
          keptLengths.push_back(static_cast<uint8_t>(length));
        }
      }
      kept += static_cast<size_t>(keeping);
    }
    text.append(" ");
    for (int c = 0; c < kColumns; ++c) appendAligned(text, kHeadings[c], widths[c]);
    text.push_back('\n');
    // Every row is as long as the heading: it is written in place, each cell after its
    // blanks, with no append per cell.
    size_t rowLength = 2;  // the leading blank and the line end
    for (int c = 0; c < kColumns; ++c) rowLength += 2 + widths[c];
    const char* keptText = keptTexts.data();
    for (size_t b = 0; b < blocks; ++b) {
      const size_t start = text.size();
      text.resize(start + rowLength, ' ');
      char* at = text.data() + start + 1;
      for (int c = 0; c < kColumns; ++c) {
        at += 2 + widths[c];
        if (b < kept) {
          const size_t length = keptLengths[b * kColumns + static_cast<size_t>(c)];
          std::memcpy(at - length, keptText, length);
          keptText += length;
          continue;
        }
        const size_t length = cellText(report, b, c, cell);
        std::memcpy(at - length, cell, length);
      }
      *at = '\n';
      const std::vector<std::string> warnings = blockWarnings(mesh, summary, report, b);
      appendWarnings(text, "      ", warnings);
      warningCount += static_cast<int64_t>(warnings.size());
      if (!warnings.empty()) ++warnedBlocks;
      // Nothing more is made for a reader that has gone.
      if (!flushSink(sink, false)) return false;
    }
  }

  text.append("\nBackground: ");
  appendInteger(text, report.backgroundCells);
  text.append(" of ");
  appendInteger(text, summary.cells);
  text.append(summary.cells == 1 ? " cell keeps" : " cells keep");
  text.append(" the background value ");
  appendNumber(text, report.background);
  text.append("\n");
  const int64_t fileWarningCount = static_cast<int64_t>(fileWarnings.size());
  if (warningCount + fileWarningCount == 0) {
    text.append("No warnings\n");
    return flushSink(sink, true);
  }
  text.append("Warnings: ");
  appendInteger(text, warningCount + fileWarningCount);
  if (fileWarningCount > 0) {
    text.append(", ");
    appendInteger(text, fileWarningCount);
    text.append(" on the files");
  }
  if (warningCount > 0) {
    text.append(fileWarningCount > 0 ? " and " : " on ");
    appendInteger(text, warnedBlocks);
    text.append(" of ");
    appendInteger(text, static_cast<int64_t>(blocks));
    text.append(blocks == 1 ? " block" : " blocks");
  }
  text.push_back('\n');
  return flushSink(sink, true);
}
