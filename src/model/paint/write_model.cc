#include "model/paint/write_model.h"

#include <algorithm>
#include <cstring>

#include "output/format_model_value.h"
#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_output.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"
#include "runtime/records/record_batch.h"

namespace {

constexpr int32_t kModelUnit = 2;

// Room for up to `wanted` (> 0) model records behind the complete ones; the channel puts
// each record's terminator behind its text.
RecordRoom reserveModelRecords(Connection& connection, int64_t wanted) {
  RecordRoom room;
  settleOutput(connection, reserveRecords(connection.output, kModelValueWidth,
                                          static_cast<size_t>(wanted), room));
  return room;
}

// Completes the first `count` records of the room last reserved.
void completeModelRecords(Connection& connection, size_t count) {
  settleOutput(connection, commitRecords(connection.output, count));
}

// Tells the channel how many records follow, so that a long model is handed to the system
// on the writer thread from its first buffer.
void expectModelRecords(Connection& connection, int64_t count) {
  if (count > 0) {
    expectOutput(connection.output,
                 static_cast<uint64_t>(count) * recordLength(connection.output, kModelValueWidth));
  }
}

// Writes `count` records of `text`.
void writeRepeated(Connection& connection, const char* text, int64_t count) {
  while (count > 0) {
    const RecordRoom room = reserveModelRecords(connection, count);
    std::memcpy(room.bytes, text, kModelValueWidth);
    // The records made so far, terminators and all, are copied behind themselves, doubling
    // each time.
    for (size_t done = 1; done < room.count;) {
      const size_t more = std::min(done, room.count - done);
      std::memcpy(room.bytes + done * room.stride, room.bytes, more * room.stride);
      done += more;
    }
    completeModelRecords(connection, room.count);
    count -= static_cast<int64_t>(room.count);
  }
}

// Writes one record per label: the text the painter gives for it.
void writeLabelled(Connection& connection, const uint32_t* labels, int64_t count,
                   const char* const* texts) {
  while (count > 0) {
    const RecordRoom room = reserveModelRecords(connection, count);
    // Labels change every few cells, at places no branch predictor foresees: the text is
    // found by indexing for every cell instead.
    for (size_t i = 0; i < room.count; ++i) {
      std::memcpy(room.bytes + i * room.stride, texts[labels[i]], kModelValueWidth);
    }
    completeModelRecords(connection, room.count);
    labels += room.count;
    count -= static_cast<int64_t>(room.count);
  }
}

}  // namespace

void writePaintedRecords(Connection& connection, ModelPainter& painter) {
  const PieceCursor& cursor = painter.cursor;
  // A model with no cells along some axis has no record, whatever the other counts.
  expectModelRecords(connection, cursor.me > 0 && cursor.mn > 0 && cursor.mz > 0
                                     ? int64_t{cursor.me} * cursor.mn * cursor.mz
                                     : 0);
  ModelPiece piece;
  const uint32_t* labels = nullptr;
  while (paintNextPiece(painter, piece, labels)) {
    if (labels == nullptr) {
      writeRepeated(connection, labelTexts(painter)[0], cellsIn(piece));
    } else {
      writeLabelled(connection, labels, cellsIn(piece), labelTexts(painter));
    }
  }
}

void writeValueRecords(Connection& connection, const double* values, int64_t count) {
  expectModelRecords(connection, count);
  while (count > 0) {
    const RecordRoom room = reserveModelRecords(connection, count);
    for (size_t i = 0; i < room.count; ++i)
      formatModelValue(values[i], room.bytes + i * room.stride);
    completeModelRecords(connection, room.count);
    values += room.count;
    count -= static_cast<int64_t>(room.count);
  }
}

void writeModel(const char* name, int length, const Mesh& mesh, BlockPlan& plan) {
  // What the writing needs is had before the model file is opened, so that memory
  // refused leaves an existing model as it is.
  char background[kModelValueWidth];
  formatModelValue(plan.background, background);
  ModelPainter painter;
  startPainting(painter, plan.blocks, mesh.easting.cellCount, mesh.northing.cellCount,
                mesh.elevation.cellCount, kPieceCells, background);
  openConnection(kModelUnit, name, length, OpenMode::Output);
  writePaintedRecords(*lookUpConnection(kModelUnit), painter);
  closeConnection(kModelUnit);
}
