// A mesh made from the first node and the cell widths, as a mesh file gives them.
#include <cstdint>
#include <memory>

#include "boxpaint/mesh.h"
#include "library/internal_mesh.h"
#include "library/library_failure.h"

namespace {

// Makes `axis` of `widths` from `origin`.
void makeAxis(double origin, std::span<const double> widths, bool falling,
              boxpaint::MeshAxis& axis) {
  axis.cellCount = static_cast<int32_t>(widths.size());
  axis.origin = origin;
  axis.widths.assign(widths.begin(), widths.end());
  makeNodes(axis, falling);
}

}  // namespace

namespace boxpaint {

Failure makeMesh(const double origin[3], std::span<const double> easting,
                 std::span<const double> northing, std::span<const double> elevation, Mesh& mesh) {
  for (std::span<const double> widths : {easting, northing, elevation}) {
    if (widths.size() >= static_cast<size_t>(INT32_MAX)) {
      return badArgument("an axis of a mesh has at most 2147483646 cells");
    }
  }
  return failingOnMemory([&] {
    makeAxis(origin[0], easting, false, mesh.easting);
    makeAxis(origin[1], northing, false, mesh.northing);
    makeAxis(origin[2], elevation, true, mesh.elevation);
    return Failure{};
  });
}

std::vector<double> cellCentres(const MeshAxis& axis) {
  std::vector<double> centres;
  for (size_t k = 1; k < axis.nodes.size(); ++k) {
    // Halved before they are added: two huge coordinates do not overflow.
    centres.push_back(0.5 * axis.nodes[k - 1] + 0.5 * axis.nodes[k]);
  }
  return centres;
}

}  // namespace boxpaint
