#include "model_files/read_model_records.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>

#include "companion/system_files.h"
#include "model_files/record_text.h"
#include "runtime/diagnostics/message_catalogue.h"
#include "runtime/threads/helper_thread.h"

namespace {

// Records read between two looks at whether the caller wants the reading stopped.
constexpr int64_t kAskEvery = int64_t{1} << 16;

// Fewest records of the writer's own form worth reading on two threads at once.
constexpr size_t kSharedRecords = size_t{1} << 14;

// Records of the writer's own form to read on the helper thread, and how many it read.
struct ExactJob {
  std::string_view lines;
  double* values = nullptr;
  size_t count = 0;
  size_t read = 0;
  size_t length = 0;
};

void readExactJob(void* argument) {
  ExactJob& job = *static_cast<ExactJob*>(argument);
  job.read = readExactRecords(job.lines, job.values, job.count, job.length);
}

// readExactRecords over the whole lines `held`, a large batch read in two halves at once,
// the second on `helper`: its records count only when the first half is read whole.
size_t readHeldRecords(HelperThread& helper, std::string_view held, double* values, size_t count,
                       size_t& length) {
  length = held.size() > 10 && held[10] == '\r' ? 12 : 11;
  const size_t records = std::min(count, held.size() / length);
  if (records < kSharedRecords) return readExactRecords(held, values, count, length);
  const size_t half = records / 2;
  ExactJob second{held.substr(half * length), values + half, records - half};
  const bool shared = handOverJob(helper, readExactJob, &second);
  const size_t first = readExactRecords(held.substr(0, half * length), values, half, length);
  if (shared) waitForJob(helper);
  if (first < half) return first;
  if (!shared) readExactJob(&second);
  return second.length == length ? half + second.read : half;
}

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

ModelReadOutcome readModelRecords(LineReader& reader, double* values, int64_t count,
                                  const ReadControl* control) {
  ModelReadOutcome outcome;
  LineView line;
  HelperThread helper;
  for (int64_t i = 0, asked = 0; i < count; ++i) {
    // The caller is asked after every batch of about a megabyte of records.
    if (control != nullptr && control->keepGoing != nullptr && i - asked >= kAskEvery) {
      asked = i;
      if (!control->keepGoing(control->context)) {
        outcome.reading = ModelReading::Stopped;
        outcome.record = i + 1;
        return outcome;
      }
    }
    // The writer's own records, many at once; any other record one at a time.
    size_t length = 0;
    const size_t exact = readHeldRecords(helper, heldLines(reader), values + i,
                                         static_cast<size_t>(count - i), length);
    takeLines(reader, exact * length, static_cast<int64_t>(exact));
    i += static_cast<int64_t>(exact);
    if (i == count) break;
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
    case ModelReading::Stopped:
      return at + "reading stopped by the caller";
    case ModelReading::Sound:
      break;
  }
  return "";
}
