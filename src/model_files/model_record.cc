#include "model_files/model_record.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cstdint>
#include <string_view>

#include "freeform/number_conversion.h"
#include "freeform/number_token.h"

namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t';
}

constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                   1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                   1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The value of the digit `c`, or a number above 9 for any other byte.
inline unsigned digitOf(char c) {
  return static_cast<unsigned>(static_cast<unsigned char>(c)) - '0';
}

// Reads the record `text` of `Length` bytes, " d.dddE+dd" and its line end, into `value`.
// Its four digits and exponent make the value m x 10^k with m below 10^4 and |k| at most
// 22, both exact doubles, so that one product or quotient gives the correctly rounded
// value a conversion of the text gives. False for any other text.
template <size_t Length>
inline bool exactRecord(const char* text, double& value) {
  const unsigned d0 = digitOf(text[1]), d1 = digitOf(text[3]), d2 = digitOf(text[4]),
                 d3 = digitOf(text[5]), e0 = digitOf(text[8]), e1 = digitOf(text[9]);
  const bool ended = Length == 12 ? text[10] == '\r' && text[11] == '\n' : text[10] == '\n';
  const bool digits = (d0 <= 9) & (d1 <= 9) & (d2 <= 9) & (d3 <= 9) & (e0 <= 9) & (e1 <= 9);
  if (!digits || !ended || text[2] != '.' || text[6] != 'E' || (text[0] != ' ' && text[0] != '-') ||
      (text[7] != '+' && text[7] != '-')) {
    return false;
  }
  const int exponent = (text[7] == '-' ? -1 : 1) * static_cast<int>(e0 * 10 + e1) - 3;
  if (exponent < -22 || exponent > 22) return false;
  // One product and one quotient, one of them by 1 and so exact: no branch on the sign of
  // the exponent, which random values take either way unforeseen.
  const double kept = static_cast<double>(d0 * 1000 + d1 * 100 + d2 * 10 + d3);
  const double scaled = kept * kExactPowers[exponent < 0 ? 0 : exponent];
  const uint64_t magnitude =
      std::bit_cast<uint64_t>(scaled / kExactPowers[exponent < 0 ? -exponent : 0]);
  value = std::bit_cast<double>(magnitude | uint64_t{text[0] == '-'} << 63);
  return true;
}

template <size_t Length>
size_t readExact(std::string_view lines, double* values, size_t count) {
  const size_t most = std::min(count, lines.size() / Length);
  const char* text = lines.data();
  size_t read = 0;
  while (read < most && exactRecord<Length>(text, values[read])) {
    ++read;
    text += Length;
  }
  return read;
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

size_t readExactRecords(std::string_view lines, double* values, size_t count, size_t& length) {
  // The first record's line end says the length of every record read.
  length = lines.size() > 10 && lines[10] == '\r' ? 12 : 11;
  return length == 12 ? readExact<12>(lines, values, count) : readExact<11>(lines, values, count);
}
