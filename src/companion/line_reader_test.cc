#include "companion/line_reader.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "companion/line_text.h"

namespace {

// A file holding `text`, removed with the object.
struct TextFile {
  std::string path;
  int fd = -1;
  explicit TextFile(const std::string& text) {
    char name[] = "/tmp/boxpaint-companion-test.XXXXXX";
    fd = mkstemp(name);
    path = name;
    EXPECT_EQ(write(fd, text.data(), text.size()), static_cast<ssize_t>(text.size()));
    lseek(fd, 0, SEEK_SET);
  }
  ~TextFile() {
    close(fd);
    unlink(path.c_str());
  }
};

struct Line {
  std::string text;
  int64_t length;
  bool ended;
  bool operator==(const Line&) const = default;
};

// The lines of `text` as the reader should give them, cut the plain way.
std::vector<Line> plainLines(const std::string& text, size_t keep) {
  std::vector<Line> lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t feed = text.find('\n', start);
    const size_t stop = feed == std::string::npos ? text.size() : feed;
    const std::string whole = text.substr(start, stop - start);
    lines.push_back({whole.size() > keep ? whole.substr(0, keep) : whole,
                     static_cast<int64_t>(whole.size()), feed != std::string::npos});
    start = stop + 1;
  }
  return lines;
}

TEST(LineReaderTest, CutsLinesAlikeWhateverTheBlockSize) {
  const std::string text =
      " 1.000E+00\r\n\n 2.000E+00\n" + std::string(100, 'x') + "\r\n\r\n  last line without an end";
  TextFile file(text);
  for (size_t block = 1; block <= 120; ++block) {
    lseek(file.fd, 0, SEEK_SET);
    LineReader reader = startLineReader(file.fd, block);
    std::vector<Line> lines;
    LineView view;
    while (nextLine(reader, view))
      lines.push_back({std::string(view.text), view.length, view.ended});
    EXPECT_EQ(reader.error, 0);
    // A line longer than the block keeps its first `block` bytes.
    ASSERT_EQ(lines, plainLines(text, block)) << block;
    EXPECT_EQ(reader.lines, static_cast<int64_t>(lines.size()));
  }
}

TEST(LineReaderTest, ReportsAFailedRead) {
  char folder[] = "/tmp/boxpaint-companion-test.XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const int fd = open(folder, O_RDONLY);  // a folder cannot be read
  LineReader reader = startLineReader(fd);
  LineView view;
  EXPECT_FALSE(nextLine(reader, view));
  EXPECT_NE(reader.error, 0);
  close(fd);
  rmdir(folder);
}

TEST(LineTextTest, QuotesOneLineOfARegularFile) {
  TextFile file(" 1.000E+00\r\n  bad value \r\r\n" + std::string(300, 'y') + "\nlast\x01");
  struct Case {
    int64_t line;
    bool found;
    std::string text;
  };
  const Case cases[] = {
      {1, true, " 1.000E+00"},
      {2, true, "  bad value "},
      {3, true, std::string(kLineTextLimit, 'y') + "..."},
      {4, true, "last\x01"},
      {5, false, ""},
      {0, false, ""},
  };
  for (const Case& c : cases) {
    std::string text = "stale";
    EXPECT_EQ(lineText(file.path.c_str(), c.line, text), c.found) << c.line;
    EXPECT_EQ(text, c.text) << c.line;
  }
  std::string text;
  EXPECT_FALSE(lineText("/dev/null", 1, text));  // not a regular file
  EXPECT_EQ(printableText("a\tb\x1b[2Jc\x7f\xce\xa9"), "a\tb?[2Jc?\xce\xa9");
}

}  // namespace
