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
#include "view/model_record.h"
#include "view/record_text.h"
#include "view/view_failure.h"

namespace {

constexpr int32_t kModelUnit = 1;

// What a record needs to be, said after what it is.
constexpr const char* kRecordRule = "each record is one value in 10 characters, then its line end";

// Ends the run for record `number` of `name`, which is `line`.
[[noreturn]] void failRecord(const char* name, int64_t number, const LineView& line,
                             RecordProblem problem) {
  const std::string quote = recordQuote(line.text);
  const long long at = static_cast<long long>(number);
  switch (problem) {
    case RecordProblem::Empty:
      failView(kFailureStatus, "%s:%lld: blank record; %s", name, at, kRecordRule);
    case RecordProblem::Width:
      failView(kFailureStatus, "%s:%lld: a record of %lld characters ('%s'); %s", name, at,
               static_cast<long long>(line.length - (line.text.ends_with('\r') ? 1 : 0)),
               quote.c_str(), kRecordRule);
    case RecordProblem::Unended:
      failView(kFailureStatus, "%s:%lld: the file ends inside a record ('%s', no line end); %s",
               name, at, quote.c_str(), kRecordRule);
    case RecordProblem::NoValue:
      failView(kFailureStatus, "%s:%lld: no value in the record", name, at);
    case RecordProblem::Syntax:
    case RecordProblem::Conversion:
    case RecordProblem::None:
      break;
  }
  const Message message =
      problem == RecordProblem::Syntax ? Message::SyntaxError : Message::ConversionError;
  failView(kFailureStatus, "%s:%lld: unreadable value '%s' (%s)", name, at, quote.c_str(),
           std::string(messageReason(message)).c_str());
}

// Ends the run for a model with another number of records than the mesh has cells.
[[noreturn]] void failCount(const char* name, int64_t number, const std::string& what,
                            const Mesh& mesh, int64_t cells) {
  failView(kFailureStatus, "%s:%lld: %s; the mesh has %lld cells (%d x %d x %d)", name,
           static_cast<long long>(number), what.c_str(), static_cast<long long>(cells),
           mesh.easting.cellCount, mesh.northing.cellCount, mesh.elevation.cellCount);
}

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
  int fd = 0;
  if (!standardInput) {
    setViewReading(name, nullptr);
    const int32_t opened =
        openConnection(kModelUnit, name, static_cast<int>(std::strlen(name)), OpenMode::Input);
    if (opened != 0) {
      const std::string reason(messageReason(static_cast<Message>(opened)));
      failView(kFailureStatus, "%s: cannot open: %s", name, reason.c_str());
    }
    fd = lookUpConnection(kModelUnit)->fd;
  }
  model.values.reset(new (std::nothrow) double[static_cast<size_t>(model.count)]);
  if (model.values == nullptr) {
    failView(kFailureStatus, "not enough memory for the %lld cells of the model",
             static_cast<long long>(model.count));
  }
  // One pass, front to back, so that a pipe or a FIFO reads as well as a file.
  LineReader reader = startLineReader(fd);
  LineView line;
  double* values = model.values.get();
  for (int64_t i = 0; i < model.count; ++i) {
    if (!nextLine(reader, line)) {
      if (reader.error != 0) break;
      failCount(shown, i + 1, "end of file after " + std::to_string(i) + " records", mesh,
                model.count);
    }
    const RecordProblem problem = readModelRecord(line, values[i]);
    if (problem != RecordProblem::None) failRecord(shown, i + 1, line, problem);
  }
  if (reader.error == 0 && nextLine(reader, line)) {
    failCount(shown, model.count + 1, "more records than cells", mesh, model.count);
  }
  if (reader.error != 0) {
    failView(kFailureStatus, "%s: error during read: %s", shown, errorText(reader.error).c_str());
  }
  if (!standardInput) closeConnection(kModelUnit);
  setViewReading(nullptr, nullptr);
  return model;
}
