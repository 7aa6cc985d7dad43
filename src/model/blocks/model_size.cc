#include "model/blocks/model_size.h"

#include <algorithm>
#include <cstdint>

#include "runtime/memory/allocate_array.h"

Failure checkModelSize(const Mesh& mesh) {
  const auto cells = [](const NodeAxis& axis) {
    return static_cast<uint32_t>(std::max(axis.cellCount, 0));
  };
  return checkArraySize({cells(mesh.elevation), cells(mesh.easting), cells(mesh.northing)}, 8);
}
