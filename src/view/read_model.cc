#include "view/read_model.h"

#include <algorithm>
#include <cfloat>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>

#include "freeform/free_form_reader.h"
#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"
#include "runtime/diagnostics/message_catalogue.h"
#include "view/scan_model_records.h"
#include "view/view_failure.h"

namespace {

constexpr int32_t kModelUnit = 1;

// Stands in a cell until its record is read: a NaN with a payload that no text
// converts to, so that a record whose value is a null or a slash is noticed.
constexpr uint64_t kUnreadBits = 0x7FF8'0000'DEAD'BEEFull;

double unreadValue() {
  double value;
  std::memcpy(&value, &kUnreadBits, sizeof value);
  return value;
}

bool isUnread(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  return bits == kUnreadBits;
}

// Refuses a model whose records do not match the cells one to one.
void checkRecordCount(const char* name, const ModelRecordScan& scan, const Mesh& mesh,
                      int64_t cells) {
  if (scan.readError != 0) {
    failView(kFailureStatus, "%s: error during read: %s", name, std::strerror(scan.readError));
  }
  const int64_t checked = std::min(scan.records, cells);
  if (scan.firstBlank != 0 && scan.firstBlank <= checked) {
    failView(kFailureStatus, "%s:%lld: blank record; each record holds one cell value", name,
             static_cast<long long>(scan.firstBlank));
  }
  const char* shape = "%s:%lld: %s; the mesh has %lld cells (%d x %d x %d)";
  if (scan.records < cells) {
    failView(kFailureStatus, shape, name, static_cast<long long>(scan.records + 1),
             ("end of file after " + std::to_string(scan.records) + " records").c_str(),
             static_cast<long long>(cells), mesh.easting.cellCount, mesh.northing.cellCount,
             mesh.elevation.cellCount);
  }
  if (scan.records > cells) {
    failView(kFailureStatus, shape, name, static_cast<long long>(cells + 1),
             "more records than cells", static_cast<long long>(cells), mesh.easting.cellCount,
             mesh.northing.cellCount, mesh.elevation.cellCount);
  }
}

}  // namespace

int64_t meshCellCount(const Mesh& mesh) {
  const int64_t ne = mesh.easting.cellCount;
  const int64_t nn = mesh.northing.cellCount;
  const int64_t nz = mesh.elevation.cellCount;
  if (ne <= 0 || nn <= 0 || nz <= 0) return 0;
  int64_t cells = 0;
  // Each count is below 2^31, so ne * nn fits; the last product may not.
  if (__builtin_mul_overflow(ne * nn, nz, &cells) ||
      cells > static_cast<int64_t>(SIZE_MAX / sizeof(double))) {
    failView(kFailureStatus, "the mesh has too many cells (%lld x %lld x %lld)",
             static_cast<long long>(ne), static_cast<long long>(nn), static_cast<long long>(nz));
  }
  return cells;
}

ModelValues readModel(const char* name, const Mesh& mesh) {
  ModelValues model;
  model.count = meshCellCount(mesh);
  const int32_t opened =
      openConnection(kModelUnit, name, static_cast<int>(std::strlen(name)), OpenMode::Input);
  if (opened != 0) {
    const std::string reason(messageReason(static_cast<Message>(opened)));
    failView(kFailureStatus, "%s: cannot open: %s", name, reason.c_str());
  }
  Connection& connection = *lookUpConnection(kModelUnit);
  const ModelRecordScan scan = scanModelRecords(connection.fd);
  checkRecordCount(name, scan, mesh, model.count);

  model.values.reset(new (std::nothrow) double[static_cast<size_t>(model.count)]);
  if (model.values == nullptr) {
    failView(kFailureStatus, "not enough memory for the %lld cells of the model",
             static_cast<long long>(model.count));
  }
  // Every record before the last value holds a value, so record i holds value i.
  int64_t line = 0;
  setViewReading(name, &line);
  {
    FreeFormReader reader(connection);
    double* values = model.values.get();
    const double unread = unreadValue();
    auto largest = scan.largest.begin();
    for (int64_t i = 0; i < model.count; ++i) {
      line = i + 1;
      if (largest != scan.largest.end() && largest->line == line) {
        // The writer's text of the largest doubles lies just beyond them and would be
        // refused as out of range: pass over the record and take the double it came from.
        reader.beginStatement();
        reader.endStatement();
        values[i] = largest->negative ? -DBL_MAX : DBL_MAX;
        ++largest;
        continue;
      }
      values[i] = unread;
      reader.beginStatement();
      reader.readReal(values[i]);
      reader.endStatement();
      if (isUnread(values[i])) {
        failView(kFailureStatus, "%s:%lld: no value in the record", name,
                 static_cast<long long>(line));
      }
    }
  }
  line = 0;  // a failure to close names the file, not a record
  closeConnection(kModelUnit);
  setViewReading(nullptr, nullptr);
  return model;
}
