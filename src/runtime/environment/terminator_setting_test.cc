#include "runtime/environment/terminator_setting.h"

#include <string>

#include <gtest/gtest.h>

namespace {

constexpr TerminatorKind N = TerminatorKind::Normal;
constexpr TerminatorKind CR = TerminatorKind::CR;
constexpr TerminatorKind LF = TerminatorKind::LF;
constexpr TerminatorKind CRLF = TerminatorKind::CRLF;

// Units probed for each setting: the console, the input files, the model file, and
// units far from both.
constexpr int32_t kProbes[] = {-1, 1, 2, 7, 2147483647};
constexpr int kProbeCount = sizeof kProbes / sizeof kProbes[0];

struct Case {
  const char* text;
  TerminatorKind kinds[kProbeCount];  // for each probe, in order
};

TEST(TerminatorSettingTest, WellFormedValuesChooseTerminatorsByUnit) {
  const Case cases[] = {
      {"", {N, N, N, N, N}},
      {"CR", {CR, CR, CR, CR, CR}},
      {"LF", {LF, LF, LF, LF, LF}},
      {"CRLF", {CRLF, CRLF, CRLF, CRLF, CRLF}},
      {"LF:2", {N, N, LF, N, N}},
      {"2", {N, N, CR, N, N}},
      {"1,7", {N, CR, N, CR, N}},
      {"CRLF:1-2", {N, CRLF, CRLF, N, N}},
      {"LF;CR:2", {LF, LF, CR, LF, LF}},
      {"CRLF;LF:1-2,7", {CRLF, LF, LF, LF, CRLF}},
      {"CR;5", {CR, CR, CR, CR, CR}},
      {"LF;2", {LF, LF, CR, LF, LF}},
      {"LF;LF:2", {LF, LF, LF, LF, LF}},
      {"CR;CRLF:0", {CR, CR, CR, CR, CR}},
      {"LF:0002", {N, N, LF, N, N}},
      {"LF:02-007", {N, N, LF, LF, N}},
      {"LF:2-2", {N, N, LF, N, N}},
      {"LF:0-3", {N, LF, LF, N, N}},
      {"LF:3-99999999999999999999", {N, N, N, LF, LF}},
      {"LF:2147483647", {N, N, N, N, LF}},
      {"LF:2147483648", {N, N, N, N, N}},
      {"LF:1,1,1-2", {N, LF, LF, N, N}},
  };
  for (const Case& c : cases) {
    TerminatorSetting setting;
    ASSERT_TRUE(parseTerminatorSetting(c.text, setting)) << c.text;
    for (int i = 0; i < kProbeCount; ++i) {
      EXPECT_EQ(terminatorInSetting(setting, kProbes[i]), c.kinds[i])
          << c.text << " unit " << kProbes[i];
    }
  }
}

TEST(TerminatorSettingTest, MalformedValuesAreRefusedAndChangeNothing) {
  const char* const cases[] = {
      "cr",
      "Lf",
      "crlf",
      "CR ",
      " LF",
      "LF\n",
      "LFCR",
      "CR LF",
      "LF;",
      "CR:",
      "CRLF;",
      "LF;CR:",
      "LF:",
      ";2",
      ":2",
      "LF:2,",
      "LF:2-",
      "LF:,2",
      "LF:2,,3",
      "LF:-2",
      "LF:+2",
      "LF: 2",
      "LF:2 ",
      "LF:2--3",
      "LF:1-2-3",
      "LF:3-2",
      "LF:10-9",
      "LF:x",
      "LF:CR;2",
      "LF;CR;2",
      "LF;;2",
      "LF::2",
      "CR:LF:2",
      "lf:2",
      "LF.2",
      "LF:2;",
      "CRLF:2:3",
      "LF:1e2",
      "CR;LF",
      "LF;CRLF",
      "99999999999999999999-99999999999999999998",
  };
  for (const char* text : cases) {
    TerminatorSetting setting;
    EXPECT_FALSE(parseTerminatorSetting(text, setting)) << text;
    for (int32_t unit : kProbes) EXPECT_EQ(terminatorInSetting(setting, unit), N) << text;
  }
}

// "1,2,...,count" with the model file's unit 2 among the entries.
std::string unitList(int count) {
  std::string text = "LF:";
  for (int unit = 1; unit <= count; ++unit) {
    if (unit > 1) text += ",";
    text += std::to_string(unit);
  }
  return text;
}

TEST(TerminatorSettingTest, ListHoldsAtMostSixtyFourEntries) {
  TerminatorSetting setting;
  ASSERT_TRUE(parseTerminatorSetting(unitList(64), setting));
  EXPECT_EQ(terminatorInSetting(setting, 64), LF);
  EXPECT_EQ(terminatorInSetting(setting, 65), N);
  EXPECT_FALSE(parseTerminatorSetting(unitList(65), setting));
  EXPECT_EQ(terminatorInSetting(setting, 2), N);
  // Ranges count as one entry each.
  std::string ranges = "CR;LF:";
  for (int i = 0; i < 64; ++i) {
    // Appended piece by piece: "," + text makes GCC 12 at -O3 warn falsely.
    if (i > 0) ranges += ',';
    ranges += std::to_string(10 * i);
    ranges += '-';
    ranges += std::to_string(10 * i + 5);
  }
  ASSERT_TRUE(parseTerminatorSetting(ranges, setting));
  EXPECT_EQ(terminatorInSetting(setting, 635), LF);
  EXPECT_EQ(terminatorInSetting(setting, 636), CR);
  EXPECT_FALSE(parseTerminatorSetting(ranges + ",700", setting));
}

}  // namespace
