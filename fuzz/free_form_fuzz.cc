// Fuzz target for the free-form reader and the number conversions.
//
// The input is read as a file by several statement shapes; only the read failures 24, 59
// and 64 may stop the reader, and a reader that stopped reads nothing more. Slices of the input
// also go straight to the conversions, whose results are checked against independent readings of
// the same text.
#include <sys/mman.h>
#include <unistd.h>

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "freeform/free_form_reader.h"
#include "freeform/number_conversion.h"
#include "freeform/number_token.h"
#include "runtime/connections/connection.h"

namespace {

void check(bool condition) {
  if (!condition) __builtin_trap();
}

// A connection on an in-memory file holding `size` bytes of `data`.
struct MemoryFile {
  MemoryFile(const uint8_t* data, size_t size, TerminatorKind terminator) {
    const int fd = memfd_create("free_form_fuzz", 0);
    check(fd >= 0);
    size_t written = 0;
    while (written < size) {
      const ssize_t n = write(fd, data + written, size - written);
      check(n > 0);
      written += static_cast<size_t>(n);
    }
    check(lseek(fd, 0, SEEK_SET) == 0);
    connection.unit = 1;
    std::strcpy(connection.fileName, "/fuzz/input.txt");
    connection.terminator = terminator;
    connection.fd = fd;
  }
  ~MemoryFile() {
    if (connection.fd >= 0) close(connection.fd);
  }
  Connection connection;
};

bool allowedEnd(int status) {
  return status == -1 || status == 24 || status == 59 || status == 64;
}

// Reads the input with statements of integers, reals and runs, as the mesh and block
// files are read, then keeps reading runs until the file ends.
void readStatements(const uint8_t* data, size_t size, TerminatorKind terminator) {
  MemoryFile file(data, size, terminator);
  int32_t counts[3] = {0, 0, 0};
  double reals[64] = {};
  const int32_t runLength = size > 0 ? static_cast<int32_t>(data[0] % 9) - 1 : 3;
  int status;
  {
    FreeFormReader reader(file.connection);
    reader.beginStatement();
    for (int32_t& count : counts) reader.readInteger(count);
    reader.endStatement();
    reader.beginStatement();
    reader.readRealRun(reals, 3);
    reader.endStatement();
    reader.beginStatement();
    reader.readInteger(counts[0]);
    reader.readReal(reals[3]);
    reader.readRealRun(reals + 4, 7);
    reader.endStatement();
    // A reader that has failed reads nothing more: later statements leave their items be.
    const bool failedEarly = reader.failed();
    double before[64];
    std::memcpy(before, reals, sizeof reals);
    for (int statement = 0; statement < 64; ++statement) {
      reader.beginStatement();
      reader.readRealRun(reals + 11, runLength);
      check(reader.endStatement() == !reader.failed());
    }
    if (failedEarly) check(std::memcmp(before, reals, sizeof reals) == 0);
    status = reader.failed() ? numberOf(reader.failure().message) : -1;
  }
  check(allowedEnd(status));
}

// The reference reading of an integer: only a sign and digits, the value in 32 bits.
void checkInteger(const char* text, size_t length) {
  int32_t value = 1;
  const ConversionStatus status = parseInteger32(text, length, value);
  size_t start = length > 0 && (text[0] == '+' || text[0] == '-') ? 1 : 0;
  bool digitsOnly = true;
  for (size_t i = start; i < length; ++i) digitsOnly &= text[i] >= '0' && text[i] <= '9';
  if (!digitsOnly) {
    check(status != ConversionStatus::Ok && value == 0);
    return;
  }
  if (start == length) {
    check(status == ConversionStatus::Ok && value == 0);
    return;
  }
  uint64_t magnitude = 0;
  const auto result = std::from_chars(text + start, text + length, magnitude);
  check(result.ptr == text + length);
  const bool negative = text[0] == '-';
  const uint64_t limit = negative ? 2147483648u : 2147483647u;
  if (result.ec == std::errc::result_out_of_range || magnitude > limit) {
    check(status == ConversionStatus::Overflow && value == 0);
    return;
  }
  check(status == ConversionStatus::Ok);
  check(value == (negative ? -static_cast<int64_t>(magnitude) : static_cast<int64_t>(magnitude)));
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// True when `c` is one of the bytes of `set` (never for the NUL byte).
bool isOneOf(char c, const char* set) {
  return c != '\0' && std::strchr(set, c) != nullptr;
}

// When `text` is a plain decimal number whose digits the conversion keeps exactly
// (at most 27 significant digits and an exponent of at most six significant digits),
// the library's correctly rounded reading of the same number in its own spelling.
bool canonicalText(const char* text, size_t length, std::string& canonical) {
  size_t i = 0;
  canonical.clear();
  if (i < length && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') canonical += '-';
    ++i;
  }
  std::string digits;
  bool period = false;
  for (; i < length && (isDigit(text[i]) || (text[i] == '.' && !period)); ++i) {
    if (text[i] == '.') period = true;
    if (isDigit(text[i])) digits += text[i];
    canonical += text[i];
  }
  if (digits.empty()) return false;
  const size_t first = digits.find_first_not_of('0');
  if (first != std::string::npos) {
    const size_t last = digits.find_last_not_of('0');
    if (last - first + 1 > 27) return false;
  }
  if (i < length) {
    const char c = text[i];
    const bool letter = isOneOf(c, "eEdDqQ");
    if (!letter && c != '+' && c != '-') return false;
    ++i;
    std::string exponent = letter ? "" : std::string(1, c);
    if (letter && i < length && (text[i] == '+' || text[i] == '-')) exponent += text[i++];
    size_t significant = 0;
    bool anyDigit = false;
    for (; i < length && isDigit(text[i]); ++i) {
      anyDigit = true;
      if (significant > 0 || text[i] != '0') ++significant;
      exponent += text[i];
    }
    if (i != length || significant >= 7) return false;
    if (anyDigit) canonical += 'e' + exponent;
  }
  return true;
}

void checkReal(const char* text, size_t length) {
  double value = 1;
  const ConversionStatus status = parseReal64(text, length, value);
  if (status != ConversionStatus::Ok) check(value == 0.0);
  if (status == ConversionStatus::Ok && std::isfinite(value)) {
    // Truncation toward zero, or the most negative integer when that does not fit.
    const double truncated = std::trunc(value);
    const int32_t expected = truncated >= -2147483648.0 && truncated <= 2147483647.0
                                 ? static_cast<int32_t>(truncated)
                                 : INT32_MIN;
    check(realToInteger32(value) == expected);
  }
  std::string canonical;
  if (!canonicalText(text, length, canonical)) return;
  double expected = 0;
  const auto result =
      std::from_chars(canonical.data(), canonical.data() + canonical.size(), expected);
  check(result.ptr == canonical.data() + canonical.size());
  if (result.ec == std::errc::result_out_of_range) {
    check(status == ConversionStatus::Overflow || (status == ConversionStatus::Ok && value == 0.0));
    return;
  }
  check(status == ConversionStatus::Ok);
  check(std::bit_cast<uint64_t>(value) == std::bit_cast<uint64_t>(expected));
}

// The token scanner's verdict agrees with what it claims about the token's bytes.
void checkScanner(const char* text, size_t length) {
  NumberToken token;
  if (!scanNumberToken(text, text + length, token)) return;
  check(token.end > text && token.end <= text + length);
  const char* p = text;
  if (*p == '+' || *p == '-') ++p;
  if (p < token.end && isOneOf(*p, "IiNn")) {
    check(token.integerLooking);
    return;
  }
  bool anyDigit = false;
  bool periodOrLetter = false;
  for (const char* q = text; q < token.end; ++q) {
    check(isOneOf(*q, "0123456789+-.eEdDqQ"));
    anyDigit |= isDigit(*q);
    periodOrLetter |= !isDigit(*q) && *q != '+' && *q != '-';
  }
  check(anyDigit);
  check(token.integerLooking == !periodOrLetter);
}

// A slice that is one whole number token reads through the reader exactly as the
// conversion reads it.
void checkReaderAgrees(const char* text, size_t length) {
  NumberToken token;
  if (length == 0 || !scanNumberToken(text, text + length, token)) return;
  if (token.end != text + length) return;
  if (std::memchr(text, '\r', length) != nullptr) return;  // would end the record early
  double direct = 0;
  const ConversionStatus status = parseReal64(text, length, direct);
  std::vector<uint8_t> line(text, text + length);
  line.push_back('\n');
  MemoryFile file(line.data(), line.size(), TerminatorKind::Normal);
  double read = -1;
  int end;
  {
    FreeFormReader reader(file.connection);
    reader.beginStatement();
    reader.readReal(read);
    end = reader.endStatement() ? -1 : numberOf(reader.failure().message);
  }
  if (status != ConversionStatus::Ok) {
    check(end == 64 && read == -1);
    return;
  }
  check(end == -1);
  if (!std::isnan(direct)) check(std::bit_cast<uint64_t>(read) == std::bit_cast<uint64_t>(direct));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  readStatements(data, size, TerminatorKind::Normal);
  readStatements(data, size, TerminatorKind::CR);

  const char* text = reinterpret_cast<const char*>(data);
  int readerChecks = 0;
  size_t start = 0;
  for (size_t i = 0; i <= size; ++i) {
    if (i < size && text[i] != ' ' && text[i] != '\n' && text[i] != ',') continue;
    const size_t length = i - start;
    if (length <= 400) {
      checkInteger(text + start, length);
      checkReal(text + start, length);
      checkScanner(text + start, length);
      if (readerChecks < 4) {
        checkReaderAgrees(text + start, length);
        ++readerChecks;
      }
    }
    start = i + 1;
  }
  return 0;
}
