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
// each record's terminator behind its text. None (count 0) with `failure` set when the
// channel fails.
RecordRoom reserveModelRecords(Connection& connection, int64_t wanted, Failure& failure) {
  RecordRoom room;
  failure = outputFailure(connection, reserveRecords(connection.output, kModelValueWidth,
                                                     static_cast<size_t>(wanted), room));
  return failure ? RecordRoom{} : room;
}

// Completes the first `count` records of the room last reserved.
Failure completeModelRecords(Connection& connection, size_t count) {
  return outputFailure(connection, commitRecords(connection.output, count));
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
Failure writeRepeated(Connection& connection, const char* text, int64_t count) {
  Failure failure;
  while (count > 0) {
    const RecordRoom room = reserveModelRecords(connection, count, failure);
    if (failure) break;
    std::memcpy(room.bytes, text, kModelValueWidth);
    // The records made so far, terminators and all, are copied behind themselves, doubling
    // each time.
    for (size_t done = 1; done < room.count;) {
      const size_t more = std::min(done, room.count - done);
      std::memcpy(room.bytes + done * room.stride, room.bytes, more * room.stride);
      done += more;
    }
    if ((failure = completeModelRecords(connection, room.count))) break;
    count -= static_cast<int64_t>(room.count);
  }
  return failure;
}

// Writes one record per label: the text the painter gives for it.
Failure writeLabelled(Connection& connection, const uint32_t* labels, int64_t count,
                      const char* const* texts) {
  Failure failure;
  while (count > 0) {
    const RecordRoom room = reserveModelRecords(connection, count, failure);
    if (failure) break;
    // Labels change every few cells, at places no branch predictor foresees: the text is
    // found by indexing for every cell instead.
    for (size_t i = 0; i < room.count; ++i) {
      std::memcpy(room.bytes + i * room.stride, texts[labels[i]], kModelValueWidth);
    }
    if ((failure = completeModelRecords(connection, room.count))) break;
    labels += room.count;
    count -= static_cast<int64_t>(room.count);
  }
  return failure;
}

}  // namespace

Failure writePaintedRecords(Connection& connection, ModelPainter& painter,
                            const std::atomic<bool>* stop) {
  const PieceCursor& cursor = painter.cursor;
  // A model with no cells along some axis has no record, whatever the other counts.
  expectModelRecords(connection, cursor.me > 0 && cursor.mn > 0 && cursor.mz > 0
                                     ? int64_t{cursor.me} * cursor.mn * cursor.mz
                                     : 0);
  ModelPiece piece;
  const uint32_t* labels = nullptr;
  while (paintNextPiece(painter, piece, labels)) {
    if (stop != nullptr && stop->load(std::memory_order_relaxed)) return stopFailure();
    const Failure failure =
        labels == nullptr ? writeRepeated(connection, labelTexts(painter)[0], cellsIn(piece))
                          : writeLabelled(connection, labels, cellsIn(piece), labelTexts(painter));
    if (failure) return failure;
  }
  return {};
}

Failure writeValueRecords(Connection& connection, const double* values, int64_t count) {
  expectModelRecords(connection, count);
  Failure failure;
  while (count > 0) {
    const RecordRoom room = reserveModelRecords(connection, count, failure);
    if (failure) break;
    for (size_t i = 0; i < room.count; ++i)
      formatModelValue(values[i], room.bytes + i * room.stride);
    if ((failure = completeModelRecords(connection, room.count))) break;
    values += room.count;
    count -= static_cast<int64_t>(room.count);
  }
  return failure;
}

Failure writeModel(const char* name, int length, const Mesh& mesh, BlockPlan& plan,
                   const std::atomic<bool>* stop) {
  // What the writing needs is had before the model file is opened, so that memory
  // refused leaves an existing model as it is.
  char background[kModelValueWidth];
  formatModelValue(plan.background, background);
  ModelPainter painter;
  if (Failure refused =
          startPainting(painter, plan.blocks, mesh.easting.cellCount, mesh.northing.cellCount,
                        mesh.elevation.cellCount, kPieceCells, background)) {
    return refused;
  }
  if (Failure opened = openOutput(kModelUnit, name, length)) return opened;
  const UnitScope scope{kModelUnit};
  if (Failure failure = writePaintedRecords(*lookUpConnection(kModelUnit), painter, stop)) {
    closeAfterFailure(kModelUnit, failure);
    return failure;
  }
  return closeConnection(kModelUnit);
}
