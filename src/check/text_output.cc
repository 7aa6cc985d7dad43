#include "check/text_output.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

#include "check/check_warnings.h"
#include "check/shortest_number.h"
#include "check/table_cells.h"

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

void appendWarnings(std::string& text, const char* indent,
                    const std::vector<std::string>& warnings) {
  for (const std::string& warning : warnings) {
    text.append(indent).append("warning: ").append(warning).push_back('\n');
  }
}

}  // namespace

bool writeTextReport(ReportSink& sink, const std::string& meshName, const std::string& blockName,
                     const Mesh& mesh, const MeshSummary& summary, const BlockFileReport& report,
                     const std::vector<std::string>& fileWarnings, TableCells& cells) {
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
    // Every column but the last was made while the model was painted; the last, the
    // cells still visible, is made here.
    if (cells.report != &report) startTableCells(cells, report);
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
    // Every row is as long as the heading: it is written in place, each cell after its
    // blanks, with no append per cell.
    size_t rowLength = 2;  // the leading blank and the line end
    for (int c = 0; c < kTableColumns; ++c) rowLength += 2 + widths[c];
    const char* keptText = cells.texts.get();
    const uint8_t* keptLength = cells.lengths.get();
    for (size_t b = 0; b < blocks; ++b) {
      const size_t start = text.size();
      text.resize(start + rowLength, ' ');
      char* at = text.data() + start + 1;
      for (int c = 0; c < kTableColumns; ++c) {
        at += 2 + widths[c];
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
