#include "model/write_model.h"

#include "output/model_value_layout.h"
#include "output/record_writer.h"
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
    int64_t cells = static_cast<int64_t>(nz) * ne * nn;
    for (int64_t cell = 0; cell < cells; ++cell) {
      OutputValue value;
      value.real = model.values[cell];
      emit(writer, modelValueLayout, {&value, 1});
    }
  }
  closeConnection(kModelUnit);
}
