#include "check/model_size.h"

#include <algorithm>
#include <cstdint>

#include "runtime/allocate_array.h"

void checkModelSize(const Mesh& mesh) {
  // boxpaint sizes its model as cells along elevation, easting and northing, then bytes
  // per value, each product checked for overflow. The same product followed by an
  // element of zero bytes makes that check and allocates next to nothing.
  const auto cells = [](const NodeAxis& axis) {
    return static_cast<uint32_t>(std::max(axis.cellCount, 0));
  };
  allocateArray({cells(mesh.elevation), cells(mesh.easting), cells(mesh.northing),
                 static_cast<uint32_t>(sizeof(double))},
                0);
}
