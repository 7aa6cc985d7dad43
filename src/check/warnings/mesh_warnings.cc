#include "check/warnings/mesh_warnings.h"

#include <cstdint>

#include "check/format/shortest_number.h"
#include "companion/device_name.h"
#include "companion/system_files.h"
#include "runtime/connections/resolve_file_name.h"
#include "runtime/environment/command_line.h"

namespace {

// Zero and negative cells named in full along one axis before the rest are counted.
constexpr int kCellsNamed = 3;

// "line 3", or "lines 3 to 5" for a statement that took several.
void appendLines(std::string& text, int64_t first, int64_t last) {
  text.append(first < last ? "lines " : "line ");
  appendInteger(text, first);
  if (first < last) {
    text.append(" to ");
    appendInteger(text, last);
  }
}

}  // namespace

std::vector<std::string> meshWarnings(const Mesh& mesh, const MeshSummary& summary,
                                      const MeshLines& lines) {
  std::vector<std::string> warnings;
  if (summary.cells == 0) {
    std::string warning = "the mesh has no cells: its counts on line ";
    appendInteger(warning, lines.counts);
    warning.append(" are ");
    appendCounts(warning, mesh.easting.cellCount, mesh.northing.cellCount,
                 mesh.elevation.cellCount);
    warning.append(", and boxpaint writes an empty model");
    warnings.push_back(warning);
  }
  const NodeAxis* axes[3] = {&mesh.easting, &mesh.northing, &mesh.elevation};
  const AxisSummary* summaries[3] = {&summary.easting, &summary.northing, &summary.elevation};
  const char* names[3] = {"easting", "northing", "elevation"};
  std::string warning = "cells of zero or negative width";
  bool first = true;
  for (int a = 0; a < 3; ++a) {
    const NodeAxis& axis = *axes[a];
    std::string detail;
    int64_t found = 0;
    for (int32_t cell = 1; cell < axis.nodeCount; ++cell) {
      // Widths as the nodes hold them: a width lost in a large coordinate counts as 0.
      const double width = a == 2 ? axis.nodes[cell - 1] - axis.nodes[cell]
                                  : axis.nodes[cell] - axis.nodes[cell - 1];
      if (!(width <= 0)) continue;
      if (++found > kCellsNamed) continue;
      detail.append(found == 1 ? std::string(names[a]) + " cell " : ", cell ");
      appendInteger(detail, cell);
      detail.append(" is ").append(distanceShown(*summaries[a], width));
      detail.append(a == 2 ? " thick" : " wide");
    }
    if (found == 0) continue;
    if (found > kCellsNamed) {
      detail.append(" and ");
      appendInteger(detail, found - kCellsNamed);
      detail.append(" more");
    }
    detail.append(" (");
    appendLines(detail, (a == 0 ? lines.origin : lines.widths[a - 1]) + 1, lines.widths[a]);
    detail.append(")");
    warning.append(first ? ": " : "; ").append(detail);
    first = false;
  }
  if (!first) warnings.push_back(warning);
  return warnings;
}

std::string modelNameWarning(const char* model, int length, const std::string& meshPath,
                             const std::string& blockPath) {
  ResolvedName resolved;
  if (resolveFileName(model, length, resolved) != 0 || resolved.device != DeviceKind::None) {
    return "";
  }
  const std::string path = resolved.fileName;
  const char* input = path == meshPath || sameFile(path.c_str(), meshPath.c_str())     ? "mesh"
                      : path == blockPath || sameFile(path.c_str(), blockPath.c_str()) ? "block"
                                                                                       : nullptr;
  if (input == nullptr) return "";
  return std::string("the model file is an input: ") + path + " is the " + input +
         " file, which boxpaint would replace with the model";
}

std::string modelDeviceWarning(const char* model, int length) {
  ResolvedName resolved;
  if (resolveFileName(model, length, resolved) != 0) return "";
  const char* device = nullptr;
  switch (resolved.device) {
    case DeviceKind::None: {
      // A name that the system itself opens as a device, which boxpaint hands it as a
      // file name (on Windows con.txt.bak, sub\NUL, conout$.txt).
      const NamedDevice system = namedDevice(nameInBuffer(model, length));
      if (system.kind == DeviceKind::None) return "";
      return "the model file is a device: " + std::string(nameInBuffer(model, length)) + " names " +
             system.words +
             ", which the system opens in the file's place, so boxpaint makes no file";
    }
    case DeviceKind::StandardOutput:
      device = "standard output";
      break;
    case DeviceKind::StandardInput:
      device = "standard input";
      break;
    case DeviceKind::StandardError:
      device = "standard error";
      break;
    case DeviceKind::Null:
      device = "the null device, which throws away what is written to it";
      break;
    case DeviceKind::Named:
      device = "a device of the system";
      break;
  }
  return "the model file is a device: " + std::string(nameInBuffer(model, length)) + " names " +
         device + ", so boxpaint writes the model there and makes no file";
}
