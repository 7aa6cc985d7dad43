// For tests and the whole-run fuzzer: the model built the plain way, whole and cell by cell,
// which the streamed writer must match byte for byte.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "mesh/mesh.h"
#include "mesh/nearest_node.h"
#include "model/blocks/block_record.h"
#include "output/format_model_value.h"

/// For tests: snapping as the plain form does it, by the sequential node scan.
struct SequentialSnap {
  /// The node of `axis` nearest `x`, as nearestNodeSequential finds it.
  int32_t operator()(const NodeAxis& axis, double x) const {
    return nearestNodeSequential(axis, x);
  }
};

/// For tests: the cells of the model of `mesh` painted with `blocks` over `background`, in
/// storage order (elevation fastest, then easting, then northing). Every cell starts at
/// the background; each block in file order has its bounds ordered (NaN pairs left as they
/// are), snapped by `snap`, and sets the cells between the snapped nodes (a lower index 0
/// starting at the first cell).
template <typename Snap = SequentialSnap>
std::vector<double> plainModelCells(const Mesh& mesh, double background,
                                    std::vector<BlockRecord> blocks, Snap snap = {}) {
  const int64_t mz = std::max(mesh.elevation.cellCount, 0);
  const int64_t me = std::max(mesh.easting.cellCount, 0);
  const int64_t mn = std::max(mesh.northing.cellCount, 0);
  std::vector<double> cells(static_cast<size_t>(mz * me * mn), background);
  for (BlockRecord& b : blocks) {
    if (b.n1 > b.n2) std::swap(b.n1, b.n2);
    if (b.e1 > b.e2) std::swap(b.e1, b.e2);
    if (b.z1 < b.z2) std::swap(b.z1, b.z2);
    const int64_t k1 = std::max(snap(mesh.northing, b.n1), 1);
    const int64_t k2 = std::min<int64_t>(snap(mesh.northing, b.n2) - 1, mn);
    const int64_t j1 = std::max(snap(mesh.easting, b.e1), 1);
    const int64_t j2 = std::min<int64_t>(snap(mesh.easting, b.e2) - 1, me);
    const int64_t i1 = std::max(snap(mesh.elevation, b.z1), 1);
    const int64_t i2 = std::min<int64_t>(snap(mesh.elevation, b.z2) - 1, mz);
    for (int64_t k = k1; k <= k2; ++k) {
      for (int64_t j = j1; j <= j2; ++j) {
        for (int64_t i = i1; i <= i2; ++i) {
          cells[static_cast<size_t>((i - 1) + mz * (j - 1) + mz * me * (k - 1))] = b.value;
        }
      }
    }
  }
  return cells;
}

/// For tests: the model file of `cells`, each written as its 10-character text and
/// `terminator`.
inline std::string plainModelText(const std::vector<double>& cells,
                                  std::string_view terminator = "\r\n") {
  std::string file;
  file.reserve(cells.size() * (kModelValueWidth + terminator.size()));
  char text[kModelValueWidth];
  for (double value : cells) {
    formatModelValue(value, text);
    file.append(text, sizeof text).append(terminator);
  }
  return file;
}

/// For tests: the model file of `mesh` painted with `blocks` over `background` the plain
/// way (plainModelCells), each cell ended by `terminator`.
inline std::string plainModelFile(const Mesh& mesh, double background,
                                  std::vector<BlockRecord> blocks,
                                  std::string_view terminator = "\r\n") {
  return plainModelText(plainModelCells(mesh, background, std::move(blocks)), terminator);
}
