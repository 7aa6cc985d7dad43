#include "check/program/remark_note.h"

#include "freeform/number_text.h"
#include "freeform/number_token.h"
#include "freeform/plain_decimal_run.h"

namespace {

constexpr const char* kCounts[] = {"no value",    "one value",   "two values", "three values",
                                   "four values", "five values", "six values"};
constexpr const char* kOrdinals[] = {"first", "second", "third",  "fourth",
                                     "fifth", "sixth",  "seventh"};
constexpr const char* kFields[] = {"e1", "e2", "n1", "n2", "z1", "z2", "the block's value"};

}  // namespace

std::string remarkNote(std::string_view line, int64_t number) {
  const char* const end = line.data() + line.size();
  double values[kBlockValues];
  PlainDecimalRun run;
  const int32_t held = readPlainDecimalRun(line.data(), end, end, values, kBlockValues, run);
  if (held >= kBlockValues) return "";
  const char* at = held == 0 ? line.data() : run.last.end;
  while (at < end && isBlank(*at)) ++at;
  // A separator, or a token that begins as a number (a typo such as 9O), is no remark.
  if (at == end || isDecimalDigit(*at) || isSign(*at) || *at == '.' || *at == ',' || *at == '/') {
    return "";
  }
  NumberToken token;
  if (scanNumberToken(at, end, token)) return "";  // NaN, Infinity: values after all
  std::string note = "line " + std::to_string(number) + " holds " + kCounts[held] + ", so the " +
                     "remark " + (held == 0 ? "on it" : "after them") + " is read as the " +
                     kOrdinals[held] + " (" + kFields[held] + ")";
  return note;
}
