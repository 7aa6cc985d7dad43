// The model painted from blocks into an array, by the painter that writes boxpaint's model
// file: a piece at a time in record order, each cell labelled with the last block over it.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "boxpaint/model.h"
#include "library/internal_mesh.h"
#include "library/library_failure.h"
#include "library/recorded_value.h"
#include "model/blocks/painted_block.h"
#include "model/paint/model_painter.h"
#include "runtime/diagnostics/message.h"

namespace {

// Blocks snapped, or cells painted, between two calls of the caller's keepGoing.
constexpr size_t kBlocksBetweenChecks = size_t{1} << 18;
constexpr int64_t kCellsBetweenChecks = int64_t{1} << 20;

// The cells along an axis: none for a count of 0 or less.
int64_t cellsAlong(const boxpaint::MeshAxis& axis) {
  return std::max<int64_t>(axis.cellCount, 0);
}

// boxpaint's size rule: the model's byte size as doubles, multiplied out in 32-bit
// arithmetic from elevation to northing, overflows at no step.
bool modelSizeFits(const boxpaint::Mesh& mesh) {
  uint64_t bytes = static_cast<uint64_t>(cellsAlong(mesh.elevation));
  for (int64_t factor : {cellsAlong(mesh.easting), cellsAlong(mesh.northing), int64_t{8}}) {
    bytes *= static_cast<uint64_t>(factor);
    if (bytes > UINT32_MAX) return false;
  }
  return true;
}

// Appends `block` to `list`, whose chunks this call takes itself so that memory refused
// is a failure returned rather than the end of a run. False when refused.
bool appendPainted(BlockList& list, const PaintedBlock& block, size_t remaining) {
  if (list.chunks.empty() || list.chunks.back().count == list.chunks.back().capacity) {
    const uint32_t capacity = static_cast<uint32_t>(std::min<size_t>(remaining, kMaxChunkBlocks));
    std::unique_ptr<PaintedBlock[], SystemRelease> blocks(static_cast<PaintedBlock*>(
        systemCalls().allocate(size_t{capacity} * sizeof(PaintedBlock))));
    if (blocks == nullptr) return false;
    list.chunks.push_back({std::move(blocks), 0, capacity});
  }
  BlockChunk& chunk = list.chunks.back();
  chunk.blocks[chunk.count++] = block;
  ++list.count;
  return true;
}

// The blocks of `blocks` that paint a cell of `mesh`, snapped as boxpaint snaps them,
// into `list`, and the value each one's record reads back as into `values`, by its place
// in the list.
boxpaint::Failure snapBlocks(const Mesh& mesh, std::span<const boxpaint::Block> blocks,
                             BlockList& list, std::vector<double>& values,
                             const boxpaint::CallControl* control) {
  PaintedBlock painted;
  for (size_t b = 0; b < blocks.size(); ++b) {
    if (b % kBlocksBetweenChecks == kBlocksBetweenChecks - 1 && !keepGoing(control)) {
      return stoppedFailure();
    }
    const boxpaint::Block& block = blocks[b];
    BlockRecord record{block.e1, block.e2, block.n1, block.n2, block.z1, block.z2, block.value};
    if (!makePaintedBlock(mesh, record, painted)) continue;
    if (!appendPainted(list, painted, blocks.size() - b)) {
      return messageFailure(numberOf(Message::OutOfMemory));
    }
    values.push_back(boxpaint::recordedValue(painted.value));
  }
  return {};
}

}  // namespace

namespace boxpaint {

int64_t modelCellCount(const Mesh& mesh) {
  return cellsAlong(mesh.easting) * cellsAlong(mesh.northing) * cellsAlong(mesh.elevation);
}

Failure checkModelSize(const Mesh& mesh) {
  if (!modelSizeFits(mesh)) return messageFailure(numberOf(Message::ArraySizeOverflow));
  return {};
}

Failure paintModel(const Mesh& mesh, double background, std::span<const Block> blocks,
                   std::span<double> cells, const CallControl* control) {
  if (Failure failure = checkModelSize(mesh); failed(failure)) return failure;
  if (static_cast<int64_t>(cells.size()) != modelCellCount(mesh)) {
    return badArgument("the cells are not as many as the mesh has");
  }
  return failingOnMemory([&] {
    std::unique_ptr<::Mesh> snapping;
    Failure failure = internalMesh(mesh, snapping);
    if (failed(failure)) return failure;
    BlockList list;
    std::vector<double> values;
    values.reserve(blocks.size());
    failure = snapBlocks(*snapping, blocks, list, values, control);
    if (failed(failure) || cells.empty()) return failure;

    ModelPainter painter;
    startPainting(painter, list, mesh.easting.cellCount, mesh.northing.cellCount,
                  mesh.elevation.cellCount);
    // Labels name the slab's active blocks: the value of each, by label, made once a slab.
    std::vector<double> slabValues;
    int32_t valuesSlab = 0;
    const double backgroundValue = recordedValue(background);
    double* cell = cells.data();
    int64_t sinceCheck = 0;
    ModelPiece piece;
    const uint32_t* labels = nullptr;
    while (paintNextPiece(painter, piece, labels)) {
      const int64_t count = cellsIn(piece);
      if (labels == nullptr) {
        std::fill_n(cell, count, backgroundValue);
      } else {
        if (valuesSlab != piece.northing) {
          valuesSlab = piece.northing;
          slabValues.assign(1, backgroundValue);
          for (const ActiveBlock& active : painter.slabs.active) {
            slabValues.push_back(values[active.position]);
          }
        }
        for (int64_t i = 0; i < count; ++i) cell[i] = slabValues[labels[i]];
      }
      cell += count;
      sinceCheck += count;
      if (sinceCheck >= kCellsBetweenChecks) {
        sinceCheck = 0;
        if (!keepGoing(control)) return stoppedFailure();
      }
    }
    return Failure{};
  });
}

}  // namespace boxpaint
