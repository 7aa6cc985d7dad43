#include "model/write_model.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "model/active_blocks.h"
#include "model/model_piece.h"
#include "model/paint_piece.h"
#include "output/record_writer.h"
#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"

namespace {

constexpr int32_t kModelUnit = 2;

// Writes `count` copies of the ready record of `Length` bytes.
template <size_t Length>
void emitRepeated(RecordWriter& writer, const char* record, int64_t count) {
  while (count > 0) {
    char* room = nullptr;
    const size_t batch = reserveModelRecords(writer, static_cast<size_t>(count), room);
    std::memcpy(room, record, Length);
    // The records written so far are copied behind themselves, doubling each time.
    for (size_t done = 1; done < batch;) {
      const size_t more = std::min(done, batch - done);
      std::memcpy(room + done * Length, room, more * Length);
      done += more;
    }
    completeModelRecords(writer, batch);
    count -= static_cast<int64_t>(batch);
  }
}

// Writes one ready record of `Length` bytes per label: the background's for 0, else that
// of the block at position label - 1.
template <size_t Length>
void emitLabelled(RecordWriter& writer, const uint32_t* labels, int64_t count,
                  const char* background, const BlockList& blocks) {
  uint32_t last = 0;
  const char* record = background;
  while (count > 0) {
    char* room = nullptr;
    const size_t batch = reserveModelRecords(writer, static_cast<size_t>(count), room);
    for (size_t i = 0; i < batch; ++i) {
      // Labels come in long runs: the record is looked up once per run.
      if (labels[i] != last) {
        last = labels[i];
        record = last == 0 ? background : blockAt(blocks, last - 1).record;
      }
      std::memcpy(room + i * Length, record, Length);
    }
    completeModelRecords(writer, batch);
    labels += batch;
    count -= static_cast<int64_t>(batch);
  }
}

template <size_t Length>
void writePieces(RecordWriter& writer, const Mesh& mesh, BlockPlan& plan, ActiveBlocks& slabs,
                 uint32_t* labels) {
  PieceCursor cursor = startPieces(mesh.easting.cellCount, mesh.northing.cellCount,
                                   mesh.elevation.cellCount, kPieceCells);
  ModelPiece piece;
  int32_t slab = 0;
  while (nextPiece(cursor, piece)) {
    if (piece.northing != slab) {
      slab = piece.northing;
      advanceActiveBlocks(slabs, plan.blocks, slab);
    }
    if (slabs.active.empty()) {
      emitRepeated<Length>(writer, plan.backgroundRecord, cellsIn(piece));
      continue;
    }
    paintPiece(plan.blocks, slabs.active.data(), slabs.active.size(), piece, labels);
    emitLabelled<Length>(writer, labels, cellsIn(piece), plan.backgroundRecord, plan.blocks);
  }
}

}  // namespace

void writeModel(const char* name, int length, const Mesh& mesh, BlockPlan& plan) {
  const int64_t cells = int64_t{std::max(mesh.easting.cellCount, 0)} *
                        std::max(mesh.northing.cellCount, 0) *
                        std::max(mesh.elevation.cellCount, 0);
  // What the writing needs is had before the model file is opened, so that memory
  // refused leaves an existing model as it is.
  ActiveBlocks slabs;
  startActiveBlocks(slabs, plan.blocks, mesh.northing.cellCount);
  std::vector<uint32_t> labels(static_cast<size_t>(std::min(cells, kPieceCells)));

  openConnection(kModelUnit, name, length, OpenMode::Output);
  RecordWriter writer;
  writer.connection = lookUpConnection(kModelUnit);
  terminateModelRecord(writer, plan.backgroundRecord);
  for (uint32_t b = 0; b < plan.blocks.count; ++b) {
    terminateModelRecord(writer, blockAt(plan.blocks, b).record);
  }
  if (modelRecordLength(writer) == 12) {
    writePieces<12>(writer, mesh, plan, slabs, labels.data());
  } else {
    writePieces<11>(writer, mesh, plan, slabs, labels.data());
  }
  closeConnection(kModelUnit);
}
