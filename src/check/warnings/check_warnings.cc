#include "check/warnings/check_warnings.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "check/format/shortest_number.h"
#include "check/warnings/snap_move.h"
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

// The warnings of one block as they are found, and what tells which follows from which.
struct Findings {
  std::vector<BlockWarning> list;
  int paints = -1, outside = -1, above = -1, depths = -1, moves = -1;  // -1: not given
  bool empty[3] = {false, false, false};   // along each axis, no cell between the nodes
  bool beside[3] = {false, false, false};  // along each axis, the block lies beside the mesh
  bool outsideAbove = true;                // the only bounds outside are elevations above the top
  bool movesBeyond = true;                 // every bound that moves too far lies beyond the mesh
};

// Adds a warning; returns its place in the list.
int add(Findings& found, std::string text) {
  found.list.push_back({std::move(text), -1});
  return static_cast<int>(found.list.size()) - 1;
}

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

void readsOn(const BlockLines& lines, Findings& found) {
  if (lines.first >= lines.last) return;
  std::string warning = "reads on past its line: its values run from line ";
  appendInteger(warning, lines.first);
  warning.append(" to line ");
  appendInteger(warning, lines.last);
  add(found, std::move(warning));
}

void paintsNothing(const BlockAxis (&axes)[3], Findings& found) {
  std::string warning = "paints nothing";
  bool first = true;
  for (int a = 0; a < 3; ++a) {
    const BlockAxis& axis = axes[a];
    if (!isEmpty(axis.cells)) continue;
    found.empty[a] = true;
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
  if (!first) found.paints = add(found, std::move(warning));
}

void outside(const BlockAxis (&axes)[3], Findings& found) {
  std::string details;
  bool first = true, wholly = false;
  for (int k = 0; k < 3; ++k) {
    const BlockAxis& axis = axes[k];
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
    found.beside[k] = besideMesh;
    // Above the top, the top being the highest node: what the elevation rules tell.
    found.outsideAbove = found.outsideAbove && k == 2 && mesh.first == mesh.high && least >= low;
    std::string detail = std::string(axis.name) + " ";
    appendPair(detail, axis.read1, axis.read2);
    detail.append(besideMesh ? " lies beyond the mesh's " : " reaches beyond the mesh's ");
    const bool topFirst = &axis == &axes[2];
    appendNodes(detail, axis, topFirst ? mesh.highNode : mesh.lowNode,
                topFirst ? mesh.lowNode : mesh.highNode);
    addDetail(details, first, detail);
  }
  if (first) return;
  found.outside = add(
      found, (wholly ? "lies wholly outside the mesh" : "lies partly outside the mesh") + details);
}

void aboveTop(const BlockAxis& elevation, Findings& found) {
  if (!elevation.summary.hasNodes) return;
  const double top = elevation.summary.first;
  const double z1 = elevation.read1, z2 = elevation.read2;
  if (!(z1 >= top && z2 >= top && (z1 > top || z2 > top))) return;
  std::string warning = "lies above the top of the mesh: elevation ";
  appendPair(warning, z1, z2);
  warning.append(", top ").append(nodeShown(elevation.nodes, elevation.summary, 0));
  found.above = add(found, std::move(warning));
}

// Depths are positive downward from the top; typed where elevations belong, they put a
// block above the top, or partly so, while read as depths it would lie in the mesh.
void depthsLike(const BlockAxis& elevation, Findings& found) {
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
  found.depths = add(found, std::move(warning));
}

void movesTooFar(const BlockAxis (&axes)[3], Findings& found) {
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
      const bool beyond = bound < axis.summary.low - axis.summary.lowSlack ||
                          bound > axis.summary.high + axis.summary.highSlack;
      found.movesBeyond = found.movesBeyond && beyond;
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
  if (!first) found.moves = add(found, std::move(warning));
}

void hiddenByLater(int64_t painted, int64_t visible, Findings& found) {
  if (painted == 0 || visible > 0) return;
  std::string warning = "hidden by later blocks: they paint over ";
  if (painted == 1) {
    warning.append("its only cell");
  } else {
    warning.append("all ");
    appendInteger(warning, painted);
    warning.append(" of its cells");
  }
  add(found, std::move(warning));
}

// Marks the warnings that only follow from another. A bound above the top, typed as a
// depth, also lies outside the mesh along elevation; a block that lies beside the mesh
// along an axis paints nothing there; a bound beyond the mesh moves far when snapped.
void markFollowers(Findings& found) {
  std::vector<BlockWarning>& list = found.list;
  const int elevation = found.depths >= 0 ? found.depths : found.above;
  if (found.above >= 0 && found.depths >= 0) list[found.above].followsFrom = found.depths;
  if (found.outside >= 0 && found.outsideAbove && elevation >= 0) {
    list[found.outside].followsFrom = elevation;
  }
  if (found.outside < 0) return;
  bool paintsBeside = true;
  for (int a = 0; a < 3; ++a) paintsBeside = paintsBeside && (!found.empty[a] || found.beside[a]);
  if (found.paints >= 0 && paintsBeside) list[found.paints].followsFrom = found.outside;
  if (found.moves >= 0 && found.movesBeyond) list[found.moves].followsFrom = found.outside;
}

}  // namespace

std::vector<BlockWarning> findBlockWarnings(const Mesh& mesh, const MeshSummary& summary,
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
  Findings found;
  if (index < report.lines.size()) readsOn(report.lines[index], found);
  paintsNothing(axes, found);
  outside(axes, found);
  aboveTop(axes[2], found);
  depthsLike(axes[2], found);
  hiddenByLater(cellsPainted(cells), report.visible[index], found);
  movesTooFar(axes, found);
  markFollowers(found);
  return std::move(found.list);
}

std::vector<std::string> blockWarnings(const Mesh& mesh, const MeshSummary& summary,
                                       const BlockFileReport& report, size_t index) {
  std::vector<std::string> texts;
  for (BlockWarning& warning : findBlockWarnings(mesh, summary, report, index)) {
    texts.push_back(std::move(warning.text));
  }
  return texts;
}

std::vector<std::string> groupedWarnings(std::vector<BlockWarning> warnings) {
  const auto leadOf = [&](size_t i) {
    // Each warning follows from one listed elsewhere, and the chains end: at most three long.
    while (warnings[i].followsFrom >= 0) i = static_cast<size_t>(warnings[i].followsFrom);
    return i;
  };
  std::vector<std::string> texts;
  texts.reserve(warnings.size());
  for (size_t lead = 0; lead < warnings.size(); ++lead) {
    if (warnings[lead].followsFrom >= 0) continue;
    std::string text = std::move(warnings[lead].text);
    size_t followers = 0;
    for (size_t i = 0; i < warnings.size(); ++i) {
      if (i == lead || leadOf(i) != lead) continue;
      // Only those texts that follow from another are still whole.
      const std::string_view whole = warnings[i].text;
      text.append(followers == 0 ? " (so it also " : ", ");
      text.append(whole.substr(0, whole.find(':')));
      ++followers;
    }
    if (followers > 1) {
      // The last two are joined by "and".
      const size_t comma = text.rfind(", ");
      text.replace(comma, 2, " and ");
    }
    if (followers > 0) text.push_back(')');
    texts.push_back(std::move(text));
  }
  return texts;
}
