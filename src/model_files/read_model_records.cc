#include "model_files/read_model_records.h"

#include <initializer_list>
#include <string_view>

#include "companion/system_files.h"
#include "model_files/record_text.h"
#include "runtime/diagnostics/message_catalogue.h"

namespace {

// What a record needs to be, said after what it is.
constexpr const char* kRecordRule = "each record is one number, then its line end";

ModelReadOutcome badRecord(int64_t number, const LineView& line, RecordProblem problem) {
  ModelReadOutcome outcome;
  outcome.reading = ModelReading::BadRecord;
  outcome.record = number;
  outcome.problem = problem;
  outcome.quote = recordQuote(line.text);
  return outcome;
}

// The texts of `parts`, one after the other.
std::string joined(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text.append(part);
  return text;
}

std::string recordError(const ModelReadOutcome& outcome) {
  const std::string& quote = outcome.quote;
  switch (outcome.problem) {
    case RecordProblem::Empty:
      return joined({"blank record; ", kRecordRule});
    case RecordProblem::NoValue:
      return "no value in the record";
    case RecordProblem::Unended:
      return joined({"the file ends inside a record ('", quote, "', no line end); ", kRecordRule});
    case RecordProblem::Several:
      return joined({"more than one value in the record ('", quote, "'); ", kRecordRule});
    case RecordProblem::TooLong:
      return joined({"a record too long to be one number ('", quote, "'); ", kRecordRule});
    case RecordProblem::Syntax:
      return joined({"unreadable value '", quote, "' (", messageReason(Message::SyntaxError), ")"});
    case RecordProblem::Conversion:
    case RecordProblem::None:
      break;
  }
  return joined({"unreadable value '", quote, "' (", messageReason(Message::ConversionError), ")"});
}

}  // namespace

ModelReadOutcome readModelRecords(LineReader& reader, double* values, int64_t count) {
  ModelReadOutcome outcome;
  LineView line;
  for (int64_t i = 0; i < count; ++i) {
    if (!nextLine(reader, line)) {
      outcome.reading = reader.error != 0 ? ModelReading::ReadError : ModelReading::TooFew;
      outcome.record = i + 1;
      outcome.error = reader.error;
      return outcome;
    }
    const RecordProblem problem = readModelRecord(line, values[i]);
    if (problem != RecordProblem::None) return badRecord(i + 1, line, problem);
  }
  if (nextLine(reader, line)) {
    outcome.reading = ModelReading::TooMany;
    outcome.record = count + 1;
  } else if (reader.error != 0) {
    outcome.reading = ModelReading::ReadError;
    outcome.record = count + 1;
    outcome.error = reader.error;
  }
  return outcome;
}

std::string modelReadError(const ModelReadOutcome& outcome, const char* name, const Mesh& mesh,
                           int64_t cells) {
  const std::string at = joined({name, ":", std::to_string(outcome.record), ": "});
  const std::string theMesh = "; the mesh has " + std::to_string(cells) + " cells (" +
                              std::to_string(mesh.easting.cellCount) + " x " +
                              std::to_string(mesh.northing.cellCount) + " x " +
                              std::to_string(mesh.elevation.cellCount) + ")";
  switch (outcome.reading) {
    case ModelReading::BadRecord:
      return at + recordError(outcome);
    case ModelReading::TooFew:
      return at + "end of file after " + std::to_string(outcome.record - 1) + " records" + theMesh;
    case ModelReading::TooMany:
      return at + "more records than cells" + theMesh;
    case ModelReading::ReadError:
      return joined({name, ": error during read: ", errorText(outcome.error)});
    case ModelReading::Sound:
      break;
  }
  return "";
}
