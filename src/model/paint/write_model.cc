#include "model/paint/write_model.h"

#include <algorithm>
#include <cstring>

#include "model/paint/model_painter.h"
#include "output/format_model_value.h"
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
// of the block the label names.
template <size_t Length>
void emitLabelled(RecordWriter& writer, const uint32_t* labels, int64_t count,
                  const char* background, const ModelPainter& painter) {
  while (count > 0) {
    char* room = nullptr;
    const size_t batch = reserveModelRecords(writer, static_cast<size_t>(count), room);
    copyLabelRecords<Length>(painter, labels, batch, background, room);
    completeModelRecords(writer, batch);
    labels += batch;
    count -= static_cast<int64_t>(batch);
  }
}

template <size_t Length>
void writePieces(RecordWriter& writer, const BlockPlan& plan, ModelPainter& painter) {
  ModelPiece piece;
  const uint32_t* labels = nullptr;
  while (paintNextPiece(painter, piece, labels)) {
    if (labels == nullptr) {
      emitRepeated<Length>(writer, plan.backgroundRecord, cellsIn(piece));
      continue;
    }
    emitLabelled<Length>(writer, labels, cellsIn(piece), plan.backgroundRecord, painter);
  }
}

}  // namespace

void writeModel(const char* name, int length, const Mesh& mesh, BlockPlan& plan) {
  // What the writing needs is had before the model file is opened, so that memory
  // refused leaves an existing model as it is.
  ModelPainter painter;
  startPainting(painter, plan.blocks, mesh.easting.cellCount, mesh.northing.cellCount,
                mesh.elevation.cellCount);

  openConnection(kModelUnit, name, length, OpenMode::Output);
  RecordWriter writer;
  writer.connection = lookUpConnection(kModelUnit);
  terminateModelRecord(writer, plan.backgroundRecord);
  // Every record takes the background's terminator, copied rather than looked up millions
  // of times: both bytes of room behind the text, whether the terminator fills one or two.
  const char* terminator = plan.backgroundRecord + kModelValueWidth;
  finishBlockRecords(painter, [terminator](char* record) {
    std::memcpy(record + kModelValueWidth, terminator, 2);
  });
  // A model with no cells along some axis has no record, whatever the other counts.
  const int32_t me = mesh.easting.cellCount, mn = mesh.northing.cellCount,
                mz = mesh.elevation.cellCount;
  expectModelRecords(writer, me > 0 && mn > 0 && mz > 0 ? int64_t{me} * mn * mz : 0);
  if (modelRecordLength(writer) == 12) {
    writePieces<12>(writer, plan, painter);
  } else {
    writePieces<11>(writer, plan, painter);
  }
  closeConnection(kModelUnit);
}
