#include "view/read_model.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <string>

#include "companion/system_files.h"
#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"
#include "runtime/diagnostics/message_catalogue.h"
#include "runtime/process/finish_run.h"
#include "view/read_model_records.h"
#include "view/view_failure.h"

namespace {

constexpr int32_t kModelUnit = 1;

}  // namespace

int64_t meshCellCount(const Mesh& mesh) {
  const int64_t ne = mesh.easting.cellCount;
  const int64_t nn = mesh.northing.cellCount;
  const int64_t nz = mesh.elevation.cellCount;
  if (ne <= 0 || nn <= 0 || nz <= 0) return 0;
  // Each count is below 2^31, so ne * nn fits; the last product may not, which the
  // quotient tells before it is made.
  const int64_t plane = ne * nn;
  if (plane > INT64_MAX / nz || plane * nz > static_cast<int64_t>(SIZE_MAX / sizeof(double))) {
    failView(kFailureStatus, "the mesh has too many cells (%lld x %lld x %lld)",
             static_cast<long long>(ne), static_cast<long long>(nn), static_cast<long long>(nz));
  }
  return plane * nz;
}

ModelValues readModel(const char* name, const Mesh& mesh) {
  ModelValues model;
  model.count = meshCellCount(mesh);
  const bool standardInput = std::strcmp(name, "-") == 0;
  const char* shown = standardInput ? "standard input" : name;
  FileHandle file = systemCalls().standardStream(StandardStream::Input);
  if (!standardInput) {
    setViewReading(name, nullptr);
    const Failure opened = openInput(kModelUnit, name, static_cast<int>(std::strlen(name)));
    if (opened) {
      const std::string reason(messageReason(opened.message));
      failView(kFailureStatus, "%s: cannot open: %s", name, reason.c_str());
    }
    file = lookUpConnection(kModelUnit)->fd;
  }
  model.values.reset(new (std::nothrow) double[static_cast<size_t>(model.count)]);
  if (model.values == nullptr) {
    failView(kFailureStatus, "not enough memory for the %lld cells of the model",
             static_cast<long long>(model.count));
  }
  // One pass, front to back, so that a pipe or a FIFO reads as well as a file.
  LineReader reader = startLineReader(file);
  const ModelReadOutcome outcome = readModelRecords(reader, model.values.get(), model.count);
  if (outcome.reading != ModelReading::Sound) {
    failView(kFailureStatus, "%s", modelReadError(outcome, shown, mesh, model.count).c_str());
  }
  if (!standardInput) {
    if (const Failure closed = closeConnection(kModelUnit)) endRunForFailure(closed);
  }
  setViewReading(nullptr, nullptr);
  return model;
}
