#include "runtime/environment/command_line.h"
#include "runtime/platform/join_command_line.h"
#include "runtime/platform/system_calls.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using Elements = std::vector<std::string>;

struct SplitCase {
  const char* line;
  Elements elements;
};

TEST(SplitCommandLineTest, SplitsByTheQuotingRules) {
  const SplitCase cases[] = {
      {"prog mesh.txt blocks.inp out.txt", {"prog", "mesh.txt", "blocks.inp", "out.txt"}},
      {"prog \"my mesh.txt\" blocks.txt out.txt", {"prog", "my mesh.txt", "blocks.txt", "out.txt"}},
      {"prog a\"\"b c", {"prog", "ab", "c"}},
      {"prog \"\" x y", {"prog", "", "x", "y"}},
      {"prog \"say \"\"hi\"\" now\"", {"prog", "say \"hi", "now"}},
      {"prog ab\"c d\"e", {"prog", "abc de"}},
      {"prog x \"", {"prog", "x", ""}},
      {"prog \t a\tb  ", {"prog", "a", "b"}},
      {"prog a\\\"b c\"", {"prog", "a\\b c"}},
      {"prog \"unterminated quote", {"prog", "unterminated quote"}},
      {"", {}},
      {"   ", {}},
  };
  for (const SplitCase& c : cases) EXPECT_EQ(splitCommandLine(c.line), c.elements) << c.line;
}

TEST(JoinCommandLineTest, SplittingGivesEveryElementBack) {
  const Elements fixed[] = {
      {"prog", "", "a b", "\"", "\"\"", "a\"", "\"a", "x\ty", "end\""},
      {"prog", "say \"hi\" now", " lead", "trail ", "\\\"", "\"\"\""},
  };
  for (const Elements& elements : fixed) {
    EXPECT_EQ(splitCommandLine(joinCommandLine(elements)), elements);
  }
  std::mt19937 random(7);
  const char alphabet[] = {'a', ' ', '\t', '"', '\\', 'z'};
  for (int round = 0; round < 2000; ++round) {
    Elements elements;
    int count = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < count; ++e) {
      std::string element;
      int length = static_cast<int>(random() % 6);
      for (int i = 0; i < length; ++i) element.push_back(alphabet[random() % sizeof alphabet]);
      elements.push_back(element);
    }
    ASSERT_EQ(splitCommandLine(joinCommandLine(elements)), elements);
  }
}

// The command line of a system that hands out its arguments already split.
const char* joinedCommandLine(int argc, const char* const* argv) {
  static std::string line;
  line = joinCommandLine(Elements(argv, argv + argc));
  return line.c_str();
}

TEST(GetArgumentTest, CopiesPadsAndCuts) {
  std::string longArgument(250, 'x');
  const char* argv[] = {"prog", "short", longArgument.c_str(), ""};
  systemCalls().commandLine = joinedCommandLine;
  setCommandLine(4, argv);
  systemCalls() = platformSystemCalls();
  EXPECT_EQ(argumentCount(), 3);

  char buffer[200];
  getArgument(1, buffer, 200);
  EXPECT_EQ(std::string(buffer, 200), "short" + std::string(195, ' '));
  getArgument(2, buffer, 200);
  EXPECT_EQ(std::string(buffer, 200), std::string(200, 'x'));
  getArgument(3, buffer, 200);
  EXPECT_EQ(std::string(buffer, 200), std::string(200, ' '));
  for (int32_t outside : {4, 5, -1}) {
    std::fill(buffer, buffer + 200, '#');
    getArgument(outside, buffer, 200);
    EXPECT_EQ(std::string(buffer, 200), std::string(200, ' ')) << outside;
  }
  getArgument(0, buffer, 200);
  EXPECT_EQ(std::string(buffer, 4), "prog");

  char small[3];
  getArgument(1, small, 3);
  EXPECT_EQ(std::string(small, 3), "sho");
}

}  // namespace
