#include "model_files/model_record.h"

#include <cfloat>
#include <string_view>

#include "freeform/number_conversion.h"
#include "freeform/number_token.h"

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

}  // namespace

RecordProblem readModelRecord(const LineView& line, double& value) {
  if (!line.ended) return RecordProblem::Unended;
  // A line longer than the reader's block is held by its first bytes only.
  if (line.length != static_cast<int64_t>(line.text.size())) return RecordProblem::TooLong;
  std::string_view field = line.text;
  if (!field.empty() && field.back() == '\r') field.remove_suffix(1);  // the CR of a CR LF end
  if (field.empty()) return RecordProblem::Empty;
  while (!field.empty() && isBlank(field.front())) field.remove_prefix(1);
  while (!field.empty() && isBlank(field.back())) field.remove_suffix(1);
  if (field.empty()) return RecordProblem::NoValue;
  // The writer's text of a value of magnitude 1.7975e308 up to the largest double lies
  // beyond the largest double, where a conversion refuses it.
  if (field == "1.798+308" || field == "-1.798+308") {
    value = field[0] == '-' ? -DBL_MAX : DBL_MAX;
    return RecordProblem::None;
  }
  const char* end = field.data() + field.size();
  NumberToken token;
  if (!scanNumberToken(field.data(), end, token) || token.end != end) {
    const bool severalWords =
        field.find_first_of(" \t") != std::string_view::npos;  // blanks inside the field
    return severalWords ? RecordProblem::Several : RecordProblem::Syntax;
  }
  double read = 0;
  if (parseReal64(field.data(), field.size(), read) != ConversionStatus::Ok) {
    return RecordProblem::Conversion;
  }
  value = read;
  return RecordProblem::None;
}
