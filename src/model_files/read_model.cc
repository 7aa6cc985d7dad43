#include "model_files/read_model.h"

#include <cstdint>
#include <cstring>
#include <new>
#include <string>

#include "companion/exit_status.h"
#include "companion/line_reader.h"
#include "model_files/read_model_records.h"
#include "model_files/view_failure.h"
#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"
#include "runtime/diagnostics/message_catalogue.h"

namespace {

constexpr int32_t kModelUnit = 1;

// Reads the records from `file`, which stands at the model's first record.
CompanionFailure readRecords(FileHandle file, const char* shown, const Mesh& mesh, double* values,
                             int64_t count, const ReadControl* control) {
  LineReader reader = startLineReader(file);
  const ModelReadOutcome outcome = readModelRecords(reader, values, count, control);
  if (outcome.reading == ModelReading::Sound) return {};
  CompanionFailure failure = failureOf(kFailureStatus, modelReadError(outcome, shown, mesh, count));
  failure.file = shown;
  failure.line = outcome.record;
  // Where boxpaint has a message for the same fault, its number goes with the failure.
  if (outcome.reading == ModelReading::ReadError) failure.message = numberOf(Message::ReadError);
  if (outcome.reading == ModelReading::Stopped) failure.message = numberOf(Message::ConsoleEvent);
  if (outcome.problem == RecordProblem::Syntax) failure.message = numberOf(Message::SyntaxError);
  if (outcome.problem == RecordProblem::Conversion) {
    failure.message = numberOf(Message::ConversionError);
  }
  return failure;
}

}  // namespace

CompanionFailure meshCellCount(const Mesh& mesh, int64_t& count) {
  const int64_t ne = mesh.easting.cellCount;
  const int64_t nn = mesh.northing.cellCount;
  const int64_t nz = mesh.elevation.cellCount;
  count = 0;
  if (ne <= 0 || nn <= 0 || nz <= 0) return {};
  // Each count is below 2^31, so ne * nn fits; the last product may not, which the
  // quotient tells before it is made.
  const int64_t plane = ne * nn;
  if (plane > INT64_MAX / nz || plane * nz > static_cast<int64_t>(SIZE_MAX / sizeof(double))) {
    return formattedFailure(kFailureStatus, "the mesh has too many cells (%lld x %lld x %lld)",
                            static_cast<long long>(ne), static_cast<long long>(nn),
                            static_cast<long long>(nz));
  }
  count = plane * nz;
  return {};
}

CompanionFailure readModelValues(const char* name, const Mesh& mesh, double* values,
                                 const ReadControl* control) {
  int64_t count = 0;
  if (CompanionFailure failure = meshCellCount(mesh, count)) return failure;
  // One pass, front to back, so that a pipe or a FIFO reads as well as a file.
  if (std::strcmp(name, "-") == 0) {
    return readRecords(systemCalls().standardStream(StandardStream::Input), "standard input", mesh,
                       values, count, control);
  }
  if (CompanionFailure device = deviceRefusal(name, true)) return device;
  if (const Failure opened = openInput(kModelUnit, name, static_cast<int>(std::strlen(name)))) {
    if (!isOpenRefusal(opened)) return viewFailureOf(opened, name);
    CompanionFailure failure = formattedFailure(kFailureStatus, "%s: cannot open: %s", name,
                                                std::string(messageReason(opened.message)).c_str());
    failure.file = name;
    failure.message = numberOf(opened.message);
    return failure;
  }
  CompanionFailure failure =
      readRecords(lookUpConnection(kModelUnit)->fd, name, mesh, values, count, control);
  const Failure closed = closeConnection(kModelUnit);
  if (!failure && closed) return viewFailureOf(closed, name);
  return failure;
}

CompanionFailure readModel(const char* name, const Mesh& mesh, ModelValues& model) {
  if (CompanionFailure failure = meshCellCount(mesh, model.count)) return failure;
  model.values.reset(new (std::nothrow) double[static_cast<size_t>(model.count)]);
  if (model.values == nullptr) {
    CompanionFailure failure =
        formattedFailure(kFailureStatus, "not enough memory for the %lld cells of the model",
                         static_cast<long long>(model.count));
    failure.message = numberOf(Message::OutOfMemory);
    return failure;
  }
  return readModelValues(name, mesh, model.values.get());
}
