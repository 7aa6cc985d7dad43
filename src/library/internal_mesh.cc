#include "library/internal_mesh.h"

#include <string>

#include "boxpaint/model.h"
#include "library/library_failure.h"
#include "mesh/node_order.h"
#include "mesh/node_sums.h"

namespace {

// Takes the nodes of `axis` into `internal`; false when their number does not fit the count.
bool takeAxis(const boxpaint::MeshAxis& axis, NodeAxis& internal) {
  const int64_t nodes = axis.cellCount < 0 ? 0 : int64_t{axis.cellCount} + 1;
  if (static_cast<int64_t>(axis.nodes.size()) != nodes) return false;
  internal.cellCount = axis.cellCount;
  internal.nodeCount = static_cast<int32_t>(nodes);
  // Read only: the painter and the snapping never write the nodes.
  internal.nodes = const_cast<double*>(axis.nodes.data());
  classifyNodeOrder(internal);
  return true;
}

}  // namespace

void makeNodes(boxpaint::MeshAxis& axis, bool falling) {
  axis.nodes.clear();
  if (axis.cellCount < 0) return;
  axis.nodes.push_back(axis.origin);
  axis.nodes.insert(axis.nodes.end(), axis.widths.begin(), axis.widths.end());
  // The sum also builds the axis's search tables, a few hundred kilobytes: not on the stack.
  auto sums = std::make_unique<NodeAxis>();
  sums->cellCount = axis.cellCount;
  sums->nodeCount = static_cast<int32_t>(axis.nodes.size());
  sums->nodes = axis.nodes.data();
  sumNodeWidths(*sums, falling);
}

boxpaint::Failure internalMesh(const boxpaint::Mesh& mesh, std::unique_ptr<Mesh>& internal) {
  // The search tables take a few hundred kilobytes: not on the stack of a caller's thread.
  internal = std::make_unique<Mesh>();
  if (!takeAxis(mesh.easting, internal->easting) || !takeAxis(mesh.northing, internal->northing) ||
      !takeAxis(mesh.elevation, internal->elevation)) {
    return badArgument("a mesh axis holds another number of nodes than its cell count gives");
  }
  return {};
}

boxpaint::Failure modelMesh(const boxpaint::Mesh& mesh, size_t values,
                            std::unique_ptr<Mesh>& internal) {
  if (static_cast<int64_t>(values) != boxpaint::modelCellCount(mesh)) {
    return badArgument("the array holds another number of values than the mesh has cells");
  }
  return internalMesh(mesh, internal);
}
