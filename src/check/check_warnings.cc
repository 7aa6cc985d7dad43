#include "check/check_warnings.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "check/shortest_number.h"
#include "check/snap_move.h"
#include "model/blocks/order_block_bounds.h"

namespace {

// One axis of a block: its bounds as read and as ordered (lower first; the top first
// along elevation), with the mesh's axis.
struct BlockAxis {
  const char* name;
  const NodeAxis& nodes;
  const AxisSummary& summary;
  double read1, read2;
  double lower, upper;
  CellRange cells;
};

// "a to b", bounds as read: every digit that was given.
void appendPair(std::string& text, double a, double b) {
  appendPlainNumber(text, a);
  text.append(" to ");
  appendPlainNumber(text, b);
}

// "a to b", two nodes of `axis` (indices from 0).
void appendNodes(std::string& text, const BlockAxis& axis, int32_t a, int32_t b) {
  text.append(nodeShown(axis.nodes, axis.summary, a));
  text.append(" to ");
  text.append(nodeShown(axis.nodes, axis.summary, b));
}

// Appends `detail` to `warning`, which starts with its phrase.
void addDetail(std::string& warning, bool& first, const std::string& detail) {
  warning.append(first ? ": " : "; ").append(detail);
  first = false;
}

void readsOn(const BlockLines& lines, std::vector<std::string>& warnings) {
  if (lines.first >= lines.last) return;
  std::string warning = "reads on past its line: its values run from line ";
  appendInteger(warning, lines.first);
  warning.append(" to line ");
  appendInteger(warning, lines.last);
  warnings.push_back(std::move(warning));
}

void paintsNothing(const BlockAxis (&axes)[3], std::vector<std::string>& warnings) {
  std::string warning = "paints nothing";
  bool first = true;
  for (const BlockAxis& axis : axes) {
    if (!isEmpty(axis.cells)) continue;
    std::string detail;
    if (axis.summary.cells == 0) {
      detail.append("the mesh has no ").append(axis.name).append(" cells");
    } else {
      detail.append(axis.name).append(" ");
      appendPair(detail, axis.lower, axis.upper);
      detail.append(" snaps to ");
      const double bounds[2] = {axis.lower, axis.upper};
      for (int end = 0; end < 2; ++end) {
        const SnapMove move = snapMove(axis.nodes, bounds[end]);
        if (end == 1) detail.append(" to ");
        if (move.node == 0) {
          detail.append("no node");
        } else {
          detail.append(nodeShown(axis.nodes, axis.summary, move.node - 1));
        }
      }
    }
    addDetail(warning, first, detail);
  }
  if (!first) warnings.push_back(std::move(warning));
}

void outside(const BlockAxis (&axes)[3], std::vector<std::string>& warnings) {
  std::string details;
  bool first = true, wholly = false;
  for (const BlockAxis& axis : axes) {
    const AxisSummary& mesh = axis.summary;
    if (!mesh.hasSpan) continue;
    // A bound the running sums alone put beyond the end, such as a typed 100 against a
    // last node of 99.9999999999986, lies at the end.
    const double low = mesh.low - mesh.lowSlack, high = mesh.high + mesh.highSlack;
    const auto beyond = [&](double x) { return x < low || x > high; };
    if (!beyond(axis.read1) && !beyond(axis.read2)) continue;
    // A NaN bound lies nowhere: the other bound alone tells where the block is.
    const double a = std::isnan(axis.read1) ? axis.read2 : axis.read1;
    const double b = std::isnan(axis.read2) ? axis.read1 : axis.read2;
    const double least = std::min(a, b), most = std::max(a, b);
    // Not reaching into the mesh: touching its edge from outside does not count.
    const bool besideMesh = most <= mesh.low + mesh.lowSlack || least >= mesh.high - mesh.highSlack;
    wholly = wholly || besideMesh;
    std::string detail = std::string(axis.name) + " ";
    appendPair(detail, axis.read1, axis.read2);
    detail.append(besideMesh ? " lies beyond the mesh's " : " reaches beyond the mesh's ");
    const bool topFirst = &axis == &axes[2];
    appendNodes(detail, axis, topFirst ? mesh.highNode : mesh.lowNode,
                topFirst ? mesh.lowNode : mesh.highNode);
    addDetail(details, first, detail);
  }
  if (first) return;
  warnings.push_back((wholly ? "lies wholly outside the mesh" : "lies partly outside the mesh") +
                     details);
}

void aboveTop(const BlockAxis& elevation, std::vector<std::string>& warnings) {
  if (!elevation.summary.hasNodes) return;
  const double top = elevation.summary.first;
  const double z1 = elevation.read1, z2 = elevation.read2;
  if (!(z1 >= top && z2 >= top && (z1 > top || z2 > top))) return;
  std::string warning = "lies above the top of the mesh: elevation ";
  appendPair(warning, z1, z2);
  warning.append(", top ").append(nodeShown(elevation.nodes, elevation.summary, 0));
  warnings.push_back(std::move(warning));
}

// Depths are positive downward from the top; typed where elevations belong, they put a
// block above the top, or partly so, while read as depths it would lie in the mesh.
void depthsLike(const BlockAxis& elevation, std::vector<std::string>& warnings) {
  const AxisSummary& mesh = elevation.summary;
  if (!mesh.hasSpan || !mesh.hasNodes) return;
  const double top = mesh.first;
  const double z1 = elevation.read1, z2 = elevation.read2;
  if (!(z1 >= 0 && z2 >= 0 && (z1 > top || z2 > top))) return;
  const double d1 = top - z1, d2 = top - z2;
  const auto inMesh = [&](double z) {
    return z >= mesh.low - mesh.lowSlack && z <= mesh.high + mesh.highSlack;
  };
  if (!inMesh(d1) || !inMesh(d2) || d1 == d2) return;
  std::string warning = "looks like depths typed as elevations: elevation ";
  appendPair(warning, z1, z2);
  warning.append(" reaches above the top of the mesh, ")
      .append(nodeShown(elevation.nodes, mesh, 0))
      .append("; as depths below it, it would be elevation ")
      .append(distanceShown(mesh, d1))
      .append(" to ")
      .append(distanceShown(mesh, d2));
  warnings.push_back(std::move(warning));
}

void movesTooFar(const BlockAxis (&axes)[3], std::vector<std::string>& warnings) {
  // Begun only once a bound moves too far: most blocks have none, and the phrase is too
  // long to be made without the heap.
  std::string warning;
  bool first = true;
  for (const BlockAxis& axis : axes) {
    const bool sorted = axis.nodes.order != NodeOrder::kUnsorted;
    for (const double bound : {axis.read1, axis.read2}) {
      // On nodes that run one way, a bound within the mesh lies in a cell whose two nodes
      // are both candidates: the nearest node is at most half that cell away, on the
      // rounded distances too (rounding keeps order). Only bounds beyond the ends, or on
      // zigzagging nodes, can move too far.
      if (sorted && bound >= axis.summary.low && bound <= axis.summary.high) continue;
      const SnapMove move = snapMove(axis.nodes, bound);
      if (!move.tooFar) continue;
      if (first) warning = "moves more than half a cell";
      std::string detail = std::string(axis.name) + " ";
      appendPlainNumber(detail, bound);
      if (move.node == 0) {
        detail.append(" snaps to no node");
      } else {
        detail.append(" snaps to ")
            .append(nodeShown(axis.nodes, axis.summary, move.node - 1))
            .append(" (moves ")
            .append(distanceShown(axis.summary, move.distance))
            .append(", half the cell is ")
            .append(distanceShown(axis.summary, move.halfCell))
            .append(")");
      }
      addDetail(warning, first, detail);
    }
  }
  if (!first) warnings.push_back(std::move(warning));
}

}  // namespace

std::vector<std::string> blockWarnings(const Mesh& mesh, const MeshSummary& summary,
                                       const BlockFileReport& report, size_t index) {
  const BlockRecord& read = report.read[index];
  BlockRecord ordered = read;
  orderBlockBounds(ordered);
  const BlockCells& cells = report.cells[index];
  const BlockAxis axes[3] = {
      {"easting", mesh.easting, summary.easting, read.e1, read.e2, ordered.e1, ordered.e2,
       cells.easting},
      {"northing", mesh.northing, summary.northing, read.n1, read.n2, ordered.n1, ordered.n2,
       cells.northing},
      {"elevation", mesh.elevation, summary.elevation, read.z1, read.z2, ordered.z1, ordered.z2,
       cells.elevation},
  };
  std::vector<std::string> warnings;
  if (index < report.lines.size()) readsOn(report.lines[index], warnings);
  paintsNothing(axes, warnings);
  outside(axes, warnings);
  aboveTop(axes[2], warnings);
  depthsLike(axes[2], warnings);
  const int64_t painted = cellsPainted(cells);
  if (painted > 0 && report.visible[index] == 0) {
    std::string warning = "hidden by later blocks: they paint over ";
    if (painted == 1) {
      warning.append("its only cell");
    } else {
      warning.append("all ");
      appendInteger(warning, painted);
      warning.append(" of its cells");
    }
    warnings.push_back(std::move(warning));
  }
  movesTooFar(axes, warnings);
  return warnings;
}
