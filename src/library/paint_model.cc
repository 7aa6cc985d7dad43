// The model painted from blocks into an array, by the painter that writes boxpaint's model
// file: a piece at a time in record order, each cell labelled with the last block over it.
// A large model is painted in two stretches of northing slabs, one on a second thread, and
// many blocks are snapped in two shares, so that both cores work, the first touch of the
// array's fresh memory included.
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <new>
#include <vector>

#include "boxpaint/model.h"
#include "library/internal_mesh.h"
#include "library/library_failure.h"
#include "model/blocks/block_list.h"
#include "model/paint/model_painter.h"
#include "runtime/diagnostics/message.h"
#include "runtime/threads/helper_thread.h"

namespace {

// Blocks snapped, or cells painted, between two looks at whether to stop.
constexpr size_t kBlocksBetweenChecks = size_t{1} << 16;
constexpr int64_t kCellsBetweenChecks = int64_t{1} << 20;

// Fewest cells painted, and fewest blocks snapped, on two threads: fewer take less time
// than waking a thread.
constexpr int64_t kSharedPaintCells = int64_t{1} << 20;
constexpr size_t kSharedSnapBlocks = size_t{1} << 14;

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

// The blocks that paint in a stretch of northing slabs, as a painter of the stretch alone
// takes them (northing counted from its first slab), and the value of each, by its place.
struct StretchBlocks {
  int32_t firstSlab = 1, lastSlab = 0;
  BlockList list;
  std::vector<double> values;
};

// Appends `block` to `list`, whose chunks are had here so that memory refused is a failure
// returned rather than the end of a run; `remaining` bounds the blocks still to come. False
// when refused.
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

// What a thread did with its share of the work.
enum class ShareEnd { Done, Stopped, Refused };

// True when a share is to stop: its caller said so, or the other share has stopped.
bool shareStops(const boxpaint::CallControl* control, std::atomic<bool>& stop) {
  if (control != nullptr && !keepGoing(control)) stop.store(true);
  return stop.load();
}

// One thread's share of the blocks, snapped as boxpaint snaps them into the stretches
// they paint in, with the value each one's record reads back as.
struct SnapShare {
  const Mesh* mesh = nullptr;
  std::span<const boxpaint::Block> blocks;
  std::vector<StretchBlocks> stretches;
  const boxpaint::CallControl* control = nullptr;  // the calling thread's share only
  std::atomic<bool>* stop = nullptr;
  ShareEnd end = ShareEnd::Done;
};

void snapShare(void* argument) {
  SnapShare& share = *static_cast<SnapShare*>(argument);
  try {
    PaintedBlock painted;
    for (size_t b = 0; b < share.blocks.size(); ++b) {
      if (b % kBlocksBetweenChecks == kBlocksBetweenChecks - 1 &&
          shareStops(share.control, *share.stop)) {
        share.end = ShareEnd::Stopped;
        return;
      }
      const boxpaint::Block& block = share.blocks[b];
      BlockRecord record{block.e1, block.e2, block.n1, block.n2, block.z1, block.z2, block.value};
      if (!makePaintedBlock(*share.mesh, record, painted)) continue;
      const double value = boxpaint::recordedValue(painted.value);
      const CellRange northing = painted.cells.northing;
      for (StretchBlocks& stretch : share.stretches) {
        if (northing.last < stretch.firstSlab || northing.first > stretch.lastSlab) continue;
        PaintedBlock part = painted;
        part.cells.northing = {std::max(northing.first, stretch.firstSlab) - stretch.firstSlab + 1,
                               std::min(northing.last, stretch.lastSlab) - stretch.firstSlab + 1};
        if (!appendPainted(stretch.list, part, share.blocks.size() - b)) {
          share.end = ShareEnd::Refused;
          return;
        }
        stretch.values.push_back(value);
      }
    }
  } catch (const std::bad_alloc&) {
    share.end = ShareEnd::Refused;
  }
}

// One thread's stretch of the model, painted into its cells.
struct PaintShare {
  StretchBlocks* blocks = nullptr;
  int32_t me = 0, mz = 0;
  double background = 0;  // as its record reads back
  double* cells = nullptr;
  const boxpaint::CallControl* control = nullptr;  // the calling thread's share only
  std::atomic<bool>* stop = nullptr;
  ShareEnd end = ShareEnd::Done;
};

void paintShare(void* argument) {
  PaintShare& share = *static_cast<PaintShare*>(argument);
  try {
    StretchBlocks& blocks = *share.blocks;
    ModelPainter painter;
    if (startPainting(painter, blocks.list, share.me, blocks.lastSlab - blocks.firstSlab + 1,
                      share.mz)) {
      share.end = ShareEnd::Refused;
      return;
    }
    // Labels name the slab's active blocks: the value of each, by label, made once a slab.
    std::vector<double> slabValues;
    int32_t valuesSlab = 0;
    double* cell = share.cells;
    int64_t sinceCheck = 0;
    ModelPiece piece;
    const uint32_t* labels = nullptr;
    while (paintNextPiece(painter, piece, labels)) {
      const int64_t count = cellsIn(piece);
      if (labels == nullptr) {
        std::fill_n(cell, count, share.background);
      } else {
        if (valuesSlab != piece.northing) {
          valuesSlab = piece.northing;
          slabValues.assign(1, share.background);
          for (const ActiveBlock& active : painter.slabs.active) {
            slabValues.push_back(blocks.values[active.position]);
          }
        }
        for (int64_t i = 0; i < count; ++i) cell[i] = slabValues[labels[i]];
      }
      cell += count;
      sinceCheck += count;
      if (sinceCheck >= kCellsBetweenChecks) {
        sinceCheck = 0;
        if (shareStops(share.control, *share.stop)) {
          share.end = ShareEnd::Stopped;
          return;
        }
      }
    }
  } catch (const std::bad_alloc&) {
    share.end = ShareEnd::Refused;
  }
}

// Runs `body` on each of the `count` shares (one or two): the second on the helper, the
// first on this thread, and waits for both. The failure of either, if any.
template <typename Share>
boxpaint::Failure runShares(HelperThread& helper, void (*body)(void*), Share* shares,
                            size_t count) {
  if (count > 1 && !handOverJob(helper, body, &shares[1])) body(&shares[1]);
  body(&shares[0]);
  waitForJob(helper);
  for (size_t s = 0; s < count; ++s) {
    if (shares[s].end == ShareEnd::Refused) return messageFailure(numberOf(Message::OutOfMemory));
  }
  for (size_t s = 0; s < count; ++s) {
    if (shares[s].end == ShareEnd::Stopped) return stoppedFailure();
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
  if (cells.empty()) return {};
  return failingOnMemory([&] {
    std::unique_ptr<::Mesh> snapping;
    Failure failure = internalMesh(mesh, snapping);
    if (failed(failure)) return failure;
    const int32_t me = mesh.easting.cellCount, mn = mesh.northing.cellCount,
                  mz = mesh.elevation.cellCount;
    // The northing slabs in one stretch, or two of about half the cells each.
    const size_t stretchCount =
        static_cast<int64_t>(cells.size()) >= kSharedPaintCells && mn > 1 ? 2 : 1;
    const int32_t firstEnd = stretchCount == 2 ? mn / 2 : mn;
    std::vector<StretchBlocks> stretches(stretchCount);
    stretches[0].lastSlab = firstEnd;
    if (stretchCount == 2) stretches[1] = {firstEnd + 1, mn, {}, {}};

    HelperThread helper;
    std::atomic<bool> stop{false};
    SnapShare snaps[2];
    const size_t snapCount = blocks.size() >= kSharedSnapBlocks ? 2 : 1;
    const size_t half = snapCount == 2 ? blocks.size() / 2 : blocks.size();
    for (size_t s = 0; s < snapCount; ++s) {
      snaps[s].mesh = snapping.get();
      snaps[s].blocks = s == 0 ? blocks.first(half) : blocks.subspan(half);
      for (const StretchBlocks& stretch : stretches) {
        snaps[s].stretches.push_back({stretch.firstSlab, stretch.lastSlab, {}, {}});
      }
      snaps[s].stop = &stop;
    }
    snaps[0].control = control;
    failure = runShares(helper, snapShare, snaps, snapCount);
    if (failed(failure)) return failure;
    // Each stretch's blocks in file order: the first share's, then the second's.
    for (size_t t = 0; t < stretchCount; ++t) {
      for (size_t s = 0; s < snapCount; ++s) {
        StretchBlocks& part = snaps[s].stretches[t];
        for (BlockChunk& chunk : part.list.chunks) {
          stretches[t].list.chunks.push_back(std::move(chunk));
        }
        stretches[t].list.count += part.list.count;
        stretches[t].values.insert(stretches[t].values.end(), part.values.begin(),
                                   part.values.end());
        releaseBlockList(part.list);
        part.values = {};
      }
    }

    PaintShare paints[2];
    const double backgroundValue = recordedValue(background);
    const int64_t slabCells = int64_t{me} * mz;
    for (size_t t = 0; t < stretchCount; ++t) {
      paints[t] = {&stretches[t],
                   me,
                   mz,
                   backgroundValue,
                   cells.data() + slabCells * (stretches[t].firstSlab - 1),
                   nullptr,
                   &stop};
    }
    paints[0].control = control;
    return runShares(helper, paintShare, paints, stretchCount);
  });
}

}  // namespace boxpaint
