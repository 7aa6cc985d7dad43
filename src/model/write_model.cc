#include "model/write_model.h"

#include "output/record_writer.h"
#include "runtime/close_connection.h"
#include "runtime/open_connection.h"

namespace {
constexpr int32_t kModelUnit = 2;
}  // namespace

void writeModel(const char* name, int length, int32_t ne, int32_t nn, int32_t nz,
                const CellModel& model) {
  openConnection(kModelUnit, name, length, OpenMode::Output);
  RecordWriter writer;
  writer.connection = findConnection(kModelUnit);
  if (nn > 0 && ne > 0 && nz > 0) {
    // Storage order is record order: elevation fastest, then easting, then northing.
    size_t cells = static_cast<size_t>(nz) * static_cast<size_t>(ne) * static_cast<size_t>(nn);
    emitRealRecords(writer, model.values, cells);
  }
  closeConnection(kModelUnit);
}
