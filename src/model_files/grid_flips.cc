#include "model_files/grid_flips.h"

#include <cmath>

namespace {

// Whether `axis` (classified by the mesh reader) must be reversed to rise; false with
// `error` when no order makes it rise.
bool flipOf(const NodeAxis& axis, const char* name, bool& flip, std::string& error) {
  for (int32_t k = 0; k < axis.nodeCount; ++k) {
    if (!std::isfinite(axis.nodes[k])) {
      error = std::string("the ") + name + " nodes are not all finite numbers";
      return false;
    }
  }
  if (axis.order == NodeOrder::kUnsorted) {
    error = std::string("the ") + name +
            " nodes both rise and fall (widths of both signs); a VTK grid needs them in order";
    return false;
  }
  // Equal nodes throughout count as rising and are kept as they are.
  flip = axis.order == NodeOrder::kFalling;
  return true;
}

}  // namespace

bool gridFlipsOf(const Mesh& mesh, GridFlips& flips, std::string& error) {
  return flipOf(mesh.easting, "easting", flips.easting, error) &&
         flipOf(mesh.northing, "northing", flips.northing, error) &&
         flipOf(mesh.elevation, "elevation", flips.elevation, error);
}
