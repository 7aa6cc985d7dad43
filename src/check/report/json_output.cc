#include "check/report/json_output.h"

#include <string>
#include <vector>

#include "check/format/json_text.h"
#include "check/format/shortest_number.h"
#include "check/warnings/check_warnings.h"

namespace {

// {"easting": E, "northing": N, "elevation": Z}, each value written by `field`.
template <typename Field>
void appendAxes(std::string& json, const MeshSummary& mesh, Field field) {
  json.append("{\"easting\": ");
  field(mesh.easting);
  json.append(", \"northing\": ");
  field(mesh.northing);
  json.append(", \"elevation\": ");
  field(mesh.elevation);
  json.append("}");
}

// A number, or null when there is none.
void appendNumberOrNull(std::string& json, bool has, double value) {
  if (has) {
    appendJsonNumber(json, value);
  } else {
    json.append("null");
  }
}

void appendMesh(std::string& json, const MeshSummary& mesh) {
  json.append("  \"mesh\": {\n    \"cells\": ");
  appendAxes(json, mesh, [&](const AxisSummary& axis) { appendInteger(json, axis.cells); });
  json.append(",\n    \"total_cells\": ");
  appendInteger(json, mesh.cells);
  json.append(",\n    \"origin\": ");
  appendAxes(json, mesh,
             [&](const AxisSummary& axis) { appendNumberOrNull(json, axis.hasNodes, axis.first); });
  json.append(",\n    \"extent\": ");
  appendAxes(json, mesh, [&](const AxisSummary& axis) {
    if (!axis.hasNodes) {
      json.append("null");
      return;
    }
    json.append("[");
    appendJsonNumber(json, axis.first);
    json.append(", ");
    appendJsonNumber(json, axis.last);
    json.append("]");
  });
  json.append(",\n    \"smallest_cell\": ");
  appendAxes(json, mesh, [&](const AxisSummary& axis) {
    appendNumberOrNull(json, axis.hasSizes, axis.smallest);
  });
  json.append(",\n    \"largest_cell\": ");
  appendAxes(json, mesh, [&](const AxisSummary& axis) {
    appendNumberOrNull(json, axis.hasSizes, axis.largest);
  });
  json.append("\n  },\n");
}

// ["...", "..."]
void appendStrings(std::string& json, const std::vector<std::string>& texts) {
  json.append("[");
  for (size_t i = 0; i < texts.size(); ++i) {
    if (i > 0) json.append(", ");
    appendJsonString(json, texts[i]);
  }
  json.append("]");
}

void appendRange(std::string& json, CellRange range) {
  json.append("[");
  appendInteger(json, range.first);
  json.append(", ");
  appendInteger(json, range.last);
  json.append("]");
}

void appendBlock(std::string& json, const Mesh& mesh, const MeshSummary& summary,
                 const BlockFileReport& report, size_t index) {
  const BlockRecord& read = report.read[index];
  const BlockCells& cells = report.cells[index];
  json.append("    {\"block\": ");
  appendInteger(json, static_cast<int64_t>(index) + 1);
  json.append(", \"line\": ");
  appendInteger(json, report.lines[index].first);
  json.append(", \"last_line\": ");
  appendInteger(json, report.lines[index].last);
  json.append(", \"value\": ");
  appendJsonNumber(json, read.value);
  json.append(", \"bounds\": [");
  const double bounds[6] = {read.e1, read.e2, read.n1, read.n2, read.z1, read.z2};
  for (int i = 0; i < 6; ++i) {
    if (i > 0) json.append(", ");
    appendJsonNumber(json, bounds[i]);
  }
  json.append("], \"cells\": ");
  if (paintsNothing(cells)) {
    json.append("null");
  } else {
    json.append("{\"easting\": ");
    appendRange(json, cells.easting);
    json.append(", \"northing\": ");
    appendRange(json, cells.northing);
    json.append(", \"elevation\": ");
    appendRange(json, cells.elevation);
    json.append("}");
  }
  json.append(", \"painted\": ");
  appendInteger(json, cellsPainted(cells));
  json.append(", \"visible\": ");
  appendInteger(json, report.visible[index]);
  json.append(", \"warnings\": ");
  appendStrings(json, blockWarnings(mesh, summary, report, index));
  json.append("}");
}

}  // namespace

bool writeJsonReport(ReportSink& sink, const Mesh& mesh, const MeshSummary& summary,
                     const BlockFileReport& report, const std::vector<std::string>& fileWarnings) {
  std::string& json = sink.text;
  json.append("{\n");
  appendMesh(json, summary);
  json.append("  \"warnings\": ");
  appendStrings(json, fileWarnings);
  json.append(",\n");
  json.append("  \"background\": ");
  appendJsonNumber(json, report.background);
  json.append(",\n  \"background_cells\": ");
  appendInteger(json, report.backgroundCells);
  json.append(",\n  \"blocks\": [");
  for (size_t b = 0; b < report.read.size(); ++b) {
    json.append(b == 0 ? "\n" : ",\n");
    appendBlock(json, mesh, summary, report, b);
    // Nothing more is made for a reader that has gone.
    if (!flushSink(sink, false)) return false;
  }
  json.append(report.read.empty() ? "]\n}\n" : "\n  ]\n}\n");
  return flushSink(sink, true);
}
