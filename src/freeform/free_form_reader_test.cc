#include "freeform/free_form_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "freeform/text_connection_testing.h"
#include "runtime/diagnostics/report_diagnostic.h"

namespace {

constexpr int32_t kUnsetInteger = -99;
constexpr double kUnsetReal = -99.5;

// One item of a statement: an integer, a real, or a run of `count` reals, read by the
// statement or ('P', alone in its statement) first by the reader's fast whole-record read.
struct Item {
  char kind;  // 'i', 'r', 'R' or 'P'
  int32_t count;
};

// Items by statement, from a shape such as "iir|R3|R0": '|' separates statements.
std::vector<std::vector<Item>> parseShape(const char* shape) {
  std::vector<std::vector<Item>> statements(1);
  for (const char* p = shape; *p != '\0';) {
    const char c = *p++;
    if (c == '|') {
      statements.emplace_back();
    } else if (c == 'R' || c == 'P') {
      char* end = nullptr;
      const long count = std::strtol(p, &end, 10);
      p = end;
      statements.back().push_back({c, static_cast<int32_t>(count)});
    } else if (c == 'i' || c == 'r') {
      statements.back().push_back({c, 1});
    }
  }
  return statements;
}

std::string realText(double value) {
  if (std::bit_cast<uint64_t>(value) == std::bit_cast<uint64_t>(kUnsetReal)) return "-";
  if (std::isnan(value)) return "nan";
  char text[40];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

struct Outcome {
  std::string values;  // statements joined by " | ", items by ' ', '-' for unchanged
  int status;          // -1 when every statement ended normally
};

// Reads `text` with the statements of `shape`; every item starts unset.
Outcome readStatements(std::string_view text, const char* shape,
                       TerminatorKind terminator = TerminatorKind::Normal) {
  const std::vector<std::vector<Item>> statements = parseShape(shape);
  std::vector<std::vector<int32_t>> integers;
  std::vector<std::vector<double>> reals;
  for (const std::vector<Item>& items : statements) {
    for (const Item& item : items) {
      integers.emplace_back(1, kUnsetInteger);
      reals.emplace_back(std::max(item.count, 0), kUnsetReal);
    }
  }
  TextConnection file(text, terminator);
  QuietDiagnostics quiet;
  Outcome outcome;
  {
    FreeFormReader reader(file.connection);
    size_t slot = 0;
    for (const std::vector<Item>& items : statements) {
      if (items.size() == 1 && items[0].kind == 'P' && items[0].count > 0 &&
          reader.readPlainRecord(reals[slot].data(), items[0].count)) {
        ++slot;
        continue;
      }
      reader.beginStatement();
      for (const Item& item : items) {
        if (item.kind == 'i') reader.readInteger(integers[slot][0]);
        if (item.kind == 'r') reader.readReal(reals[slot][0]);
        if (item.kind == 'R' || item.kind == 'P') {
          reader.readRealRun(reals[slot].data(), item.count);
        }
        ++slot;
      }
      reader.endStatement();
    }
    outcome.status = reader.failed() ? numberOf(reader.failure().message) : -1;
  }
  size_t slot = 0;
  for (size_t s = 0; s < statements.size(); ++s) {
    if (s > 0) outcome.values += " |";
    for (const Item& item : statements[s]) {
      // Each piece is appended on its own: building " " + text first makes GCC 12 at -O3
      // warn falsely about overlapping copies.
      if (item.kind == 'i') {
        const int32_t value = integers[slot][0];
        outcome.values += ' ';
        outcome.values += value == kUnsetInteger ? "-" : std::to_string(value);
      } else {
        for (double value : reals[slot]) {
          outcome.values += ' ';
          outcome.values += realText(value);
        }
      }
      ++slot;
    }
  }
  if (!outcome.values.empty() && outcome.values[0] == ' ') outcome.values.erase(0, 1);
  return outcome;
}

struct ReadCase {
  const char* name;
  std::string text;
  const char* shape;
  const char* values;
  int status;  // -1: the statements end normally
};

void expectCases(const std::vector<ReadCase>& cases,
                 TerminatorKind terminator = TerminatorKind::Normal) {
  for (const ReadCase& c : cases) {
    const Outcome outcome = readStatements(c.text, c.shape, terminator);
    EXPECT_EQ(outcome.values, c.values) << c.name;
    EXPECT_EQ(outcome.status, c.status) << c.name;
  }
}

// The cases, and again those whose items are all integers read into real items and into
// one run of reals a statement, that run also read first by the fast whole-record read:
// their values then take the plain-decimal paths first, and the separators, nulls,
// repeats and slashes that follow must read as they do for integers.
void expectCasesAlsoAsReals(const std::vector<ReadCase>& cases) {
  expectCases(cases);
  for (const ReadCase& c : cases) {
    const std::string shape = c.shape;
    if (shape.find_first_of("rR") != std::string::npos) continue;
    std::string asReals = shape;
    std::replace(asReals.begin(), asReals.end(), 'i', 'r');
    std::string asRuns;
    size_t from = 0;
    for (size_t bar = 0; bar != std::string::npos; from = bar + 1) {
      bar = shape.find('|', from);
      const size_t items = (bar == std::string::npos ? shape.size() : bar) - from;
      asRuns += (from > 0 ? "|R" : "R") + std::to_string(items);
    }
    std::string asRecords = asRuns;
    std::replace(asRecords.begin(), asRecords.end(), 'R', 'P');
    for (const std::string& realShape : {asReals, asRuns, asRecords}) {
      const Outcome outcome = readStatements(c.text, realShape.c_str());
      EXPECT_EQ(outcome.values, c.values) << c.name << " as " << realShape;
      EXPECT_EQ(outcome.status, c.status) << c.name << " as " << realShape;
    }
  }
}

TEST(FreeFormReaderTest, StatementsTakeWholeRecords) {
  expectCasesAlsoAsReals({
      {"LF lines", "1 2 3\n4.5\n", "iii|r", "1 2 3 | 4.5", -1},
      {"CR LF lines", "1 2 3\r\n4.5\r\n", "iii|r", "1 2 3 | 4.5", -1},
      {"CR CR LF lines", "1\r\r\n2\r\r\n", "i|i", "1 | 2", -1},
      {"last line without LF", "1 2\n3", "ii|i", "1 2 | 3", -1},
      {"blank lines around values", "\n  \n1\n\n 2\n\t\n3\n", "iii", "1 2 3", -1},
      {"values over several lines", "1\n2 3\n\n4\n", "R4", "1 2 3 4", -1},
      {"extra values and a remark are never read",
       "1 2 3 ! e1 e2 n1 n2 z1 z2  value (block 1)\n4\n", "ii|i", "1 2 | 4", -1},
      {"too few values before a remark", "1 2 ! remark\n", "iii", "1 2 -", 59},
      {"a run of 0 still takes a line", "anything ) at all\n5\n", "R0|i", "| 5", -1},
      {"a negative run takes a line too", "x\n5\n", "R-4|i", "| 5", -1},
      {"a run of 0 with no line left", "", "R0", "", 24},
      {"empty file", "", "i", "-", 24},
      {"file ends inside a statement", "1 2\n", "iii", "1 2 -", 24},
      {"0x1A line is the end of the file", "1\n\x1a\n2\n", "i|i", "1 | -", 24},
      {"0x1A line inside a statement", "1\n\x1a\n2\n", "ii", "1 -", 24},
      {"CR before a blank passes as a blank", "1 \r 2\n", "ii", "1 2", -1},
      {"CR right after a number", "1\r 2\n", "ii", "- -", 59},
      {"bare CR lines, numbers followed by blanks", "1 \r2 \r3", "iii", "1 2 3", -1},
      {"bare CR lines, number followed by CR", "1\r2\r", "i", "-", 59},
      {"semicolon between values", "1;2\n", "ii", "- -", 59},
  });
}

TEST(FreeFormReaderTest, CommasSeparateOrStandForNulls) {
  expectCasesAlsoAsReals({
      {"null between commas", "1,,3\n", "iii", "1 - 3", -1},
      {"null between spaced commas", "1 , , 3\n", "iii", "1 - 3", -1},
      {"two nulls", "1,,,4\n", "iiii", "1 - - 4", -1},
      {"comma first in the statement", ",5\n", "ii", "- 5", -1},
      {"two commas first in the statement", ",,3\n", "iii", "- - 3", -1},
      {"comma first after a blank line", "\n,5\n", "ii", "- 5", -1},
      {"line ending in a comma, next line beginning with one", "1,\n,3\n", "iii", "1 - 3", -1},
      {"line without comma, next line beginning with one", "1\n,3\n", "ii", "1 3", -1},
      {"comma ending a line is a separator", "1,\n2\n", "ii", "1 2", -1},
      {"comma after blank lines after a trailing comma", "1 ,\n\n , 3\n", "iii", "1 - 3", -1},
      {"a lone comma line after a value", "1\n,\n3\n", "ii", "1 3", -1},
      {"null comma ending a line", "1,,\n3\n", "iii", "1 - 3", -1},
      {"comma within a number is two values", "1,5\n", "rr", "1 5", -1},
  });
}

TEST(FreeFormReaderTest, RepeatCountsServeSeveralItems) {
  expectCasesAlsoAsReals({
      {"r*c into a run", "3*2.5\n", "R3", "2.5 2.5 2.5", -1},
      {"r*c filling part of a run", "2*5 7\n", "R3", "5 5 7", -1},
      {"r* in a run", "2* 7\n", "R3", "- - 7", -1},
      {"a group begun before a run", "3*4 6\n", "rR3", "4 4 4 6", -1},
      {"a group longer than its run", "5*1.5\n9\n", "R3|r", "1.5 1.5 1.5 | 9", -1},
      {"a group of a value that is no plain decimal", "3*1e2 INF\n", "R4", "100 100 100 inf", -1},
      {"r* alone on a line", "2*\n", "rr", "- -", -1},
      {"r* then a value", "2* 7\n", "rrr", "- - 7", -1},
      {"r* with a comma then a value", "2*,7\n", "rrr", "- - 7", -1},
      {"r* with a tab", "2*\t7\n", "rrr", "- - 7", -1},
      {"unused repeats are dropped", "5*1.0\n9\n", "rrr|r", "1 1 1 | 9", -1},
      {"a null after a repeat group", "2*5,,7\n", "iiii", "5 5 - 7", -1},
      {"a separator after a repeat group", "2*5,7\n", "iii", "5 5 7", -1},
      {"a null after r* with its comma", "2*,,7\n", "iiii", "- - - 7", -1},
      {"a spaced comma after r*", "2* ,7\n", "iii", "- - 7", -1},
      {"record end after a repeat group", "2*5\n7\n", "iii", "5 5 7", -1},
      {"record end after r*", "3*\n7\n", "iiii", "- - - 7", -1},
      {"repeat group on a later record", "1\n2*3\n", "iii", "1 3 3", -1},
      {"one group for items of both kinds", "3*7.9\n", "irR1", "7 7.9 7.9", -1},
      {"a count of 1", "1* 2\n", "ii", "- 2", -1},
      {"a count of 0 serves one item", "0*5 6\n", "ii", "5 6", -1},
      {"a negative count serves one item", "-3*5 6\n", "ii", "5 6", -1},
      {"the most negative count", "-2147483648*5 6\n", "ii", "5 6", -1},
      {"a slash as the repeated value", "2*/\n", "iii", "- - -", -1},
      {"a count that is not an integer", "1.5*2\n", "i", "-", 64},
      {"a count beyond 32 bits", "99999999999*1\n", "i", "-", 64},
      {"an asterisk without a count", "*5\n", "i", "-", 59},
      {"a sign as the count", "+*5\n", "i", "-", 59},
      {"a repeated value cut at an asterisk", "2*3*4\n", "iii", "3 3 -", 59},
      {"two asterisks", "2**\n", "i", "-", 59},
      {"a logical value repeated", "2*T\n", "i", "-", 64},
      {"a quoted value repeated", "2*'a'\n", "i", "-", 64},
      {"a stray ) repeated", "2*)\n", "i", "-", 59},
  });
}

TEST(FreeFormReaderTest, ASlashEndsTheStatement) {
  expectCasesAlsoAsReals({
      {"slash after two values", "1 2 /\n4\n", "iii|i", "1 2 - | 4", -1},
      {"slash right after a value", "1/ 2\n", "ii", "1 -", -1},
      {"comma after a slash", "1/,5\n", "iii", "1 - -", -1},
      {"slash after a separating comma", "1,/\n", "ii", "1 -", -1},
      {"slash in a run", "1 2/\n", "R4", "1 2 - -", -1},
      {"slash alone", "/\n", "R3", "- - -", -1},
      {"slash on a later line", "1\n\n/\n9\n", "ii|i", "1 - | 9", -1},
  });
}

TEST(FreeFormReaderTest, ChecksTheBytesOfNumbers) {
  expectCases({
      {"two signs", "+-1", "r", "-", 59},
      {"two periods", "1.2.3", "r", "-", 59},
      {"exponent letter first", "e5", "r", "-", 59},
      {"exponent letter after a period only", "-.e5", "r", "-", 59},
      {"two exponent letters", "1e5e", "r", "-", 59},
      {"two exponent letters of different kinds", "1ed", "r", "-", 59},
      {"lone sign", "+", "r", "-", 59},
      {"lone period", ".", "r", "-", 59},
      {"sign before an exponent letter", "1+e5", "r", "-", 59},
      {"sign at the end", "5-", "r", "-", 59},
      {"exponent sign at the end", "1e-", "r", "-", 59},
      {"I after digits", "1I", "r", "-", 59},
      {"INF after a sign that follows a digit", "1-INF", "r", "-", 59},
      {"hexadecimal", "0x10", "r", "-", 59},
      {"underscore", "1_000", "r", "-", 59},
      {"opening parenthesis", "(1.0, 2.0)", "r", "-", 59},
      {"stray closing parenthesis", "1) 2", "ii", "1 -", 59},
      {"non-ASCII byte", "1\xc3\xa9", "r", "-", 59},
      {"0x1A inside a line", "1\x1a", "r", "-", 59},
      {"a bad byte after good values", "1 2 x", "iii", "1 2 -", 59},
  });
}

TEST(FreeFormReaderTest, ConvertsIntoIntegerItems) {
  expectCases({
      {"32-bit limits", "2147483647 -2147483648", "ii", "2147483647 -2147483648", -1},
      {"beyond the top", "2147483648", "i", "-", 64},
      {"beyond the bottom", "-2147483649", "i", "-", 64},
      {"reals truncate", "3. -2.9 2e1 10.7", "iiii", "3 -2 20 10", -1},
      {"large reals give the most negative integer", "1e10 -1e10", "ii", "-2147483648 -2147483648",
       -1},
      {"real overflow", "1e309", "i", "-", 64},
      {"sign exponent is no integer", "1+5", "i", "-", 64},
      {"INF", "INF", "i", "-", 64},
      {"NAN with exponent letters inside", "nan(de)", "i", "-", 64},
      {"logical", "T", "i", "-", 64},
      {"quoted", "'7'", "i", "-", 64},
  });
}

TEST(FreeFormReaderTest, ConvertsIntoRealItems) {
  expectCases({
      {"mantissa and exponent forms", "100. .05 1e3 1d3 1Q3 1.5E+03 +1 1.5+3 7 -0 2-1", "R11",
       "100 0.05 1000 1000 1000 1500 1 1500 7 -0 0.2", -1},
      {"exponent letter without digits", "1e 2D", "rr", "1 2", -1},
      {"overflow", "1e309", "r", "-", 64},
      {"negative overflow", "-1e309", "r", "-", 64},
      {"underflow to zero", "1e-400 -1e-400", "rr", "0 -0", -1},
      {"smallest subnormal", "4.9e-324 3e-324 2e-324", "rrr", "5e-324 5e-324 0", -1},
      {"infinities", "INF inf -Infinity", "rrr", "inf inf -inf", -1},
      {"NaNs", "NaN nan(x1) -nan()", "rrr", "nan nan nan", -1},
      {"INF form ended by a comma", "inf,5", "rr", "inf 5", -1},
      {"NAN form ended by a slash", "nan(x_1)/5", "rr", "nan -", -1},
      {"INF form is not cut at an asterisk", "INF*2", "r", "-", 64},
      {"INF with more letters", "INFX", "r", "-", 64},
      {"partial INFINITY", "INFIN", "r", "-", 64},
      {"NAN with more letters", "NANX", "r", "-", 64},
      {"NAN payload with a blank", "nan(a b) 5", "r", "-", 64},
      {"second exponent sign", "1e5+3", "r", "-", 64},
      {"period in the exponent", "1e.5", "r", "-", 64},
      {"mantissa without digits", "+.-5", "r", "-", 64},
      {"logical", ".true.", "r", "-", 64},
      {"logical with a period", ".t", "r", "-", 64},
      {"logical F", "F", "r", "-", 64},
      {"quoted", "\"x\"", "r", "-", 64},
  });
}

TEST(FreeFormReaderTest, CrTerminatorEndsRecordsAtEveryCr) {
  expectCases(
      {
          {"CR LF text", "1\r\n2\r\n", "i|i", "1 | 2", -1},
          {"LF is a blank between values", "1 \n2\r", "ii", "1 2", -1},
          {"LF does not end a number", "1\n2\r", "i", "-", 59},
          {"an empty record between CRs starts a statement", "1\r\r2\r", "i|i|i", "1 | 2 | -", 24},
      },
      TerminatorKind::CR);
}

TEST(FreeFormReaderTest, ReadsRecordsLongerThanTheFirstBuffer) {
  std::string text;
  const int count = 30000;
  for (int i = 0; i < count; ++i) text += std::to_string(i) + ".25 ";
  text += "\n-1\n";
  std::vector<double> values(count);
  double last = 0;
  TextConnection file(text);
  FreeFormReader reader(file.connection);
  reader.beginStatement();
  reader.readRealRun(values.data(), count);
  EXPECT_TRUE(reader.endStatement());
  reader.beginStatement();
  reader.readReal(last);
  EXPECT_TRUE(reader.endStatement());
  for (int i = 0; i < count; ++i) ASSERT_EQ(values[i], i + 0.25) << i;
  EXPECT_EQ(last, -1.0);
}

TEST(FreeFormReaderTest, ASlashEndsAVeryLongRunAtOnce) {
  TextConnection file("1 2/\n");
  double values[3] = {0, 0, -5};
  FreeFormReader reader(file.connection);
  reader.beginStatement();
  // Only the elements before the slash are ever touched.
  reader.readRealRun(values, INT32_MAX);
  EXPECT_TRUE(reader.endStatement());
  EXPECT_EQ(values[0], 1.0);
  EXPECT_EQ(values[1], 2.0);
  EXPECT_EQ(values[2], -5.0);
}

TEST(FreeFormReaderTest, FailuresNameTheUnitAndTheFile) {
  TextConnection log("");
  TextConnection file("1 x\n");
  file.connection.unit = 7;
  QuietDiagnostics quiet;
  ScopedSwitch logFile("FOR_DIAGNOSTIC_LOG_FILE", log.path.c_str());
  int32_t values[2] = {0, 0};
  FreeFormReader reader(file.connection);
  reader.beginStatement();
  reader.readInteger(values[0]);
  reader.readInteger(values[1]);
  EXPECT_FALSE(reader.endStatement());
  const Failure failure = reader.failure();
  EXPECT_EQ(failure.unit, 7);
  EXPECT_EQ(failure.fileName, file.path);
  EXPECT_EQ(failure.line, 1);
  writeDiagnostic(diagnosticOf(failure));
  std::ifstream logText(log.path, std::ios::binary);
  std::string logged;
  std::getline(logText, logged);
  EXPECT_EQ(logged,
            "forrtl: severe (59): list-directed I/O syntax error, unit 7, file " + file.path);
}

}  // namespace
