#include "companion/line_reader.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "companion/line_text.h"
#include "companion/system_files.h"

namespace {

// A file holding `text`, removed with the object.
struct TextFile {
  std::string path;
  FileHandle file = kNoFile;
  explicit TextFile(const std::string& text) {
    static std::atomic<int> made{0};
    path = (std::filesystem::temp_directory_path() /
            ("boxpaint-companion-test-" + std::to_string(made++)))
               .string();
    std::ofstream(path, std::ios::binary) << text;
    file = openToReadAgain(path.c_str());
    EXPECT_NE(file, kNoFile);
  }
  ~TextFile() {
    closeFile(file);
    std::remove(path.c_str());
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
    const FileHandle handle = openToReadAgain(file.path.c_str());  // from the start each time
    LineReader reader = startLineReader(handle, block);
    std::vector<Line> lines;
    LineView view;
    while (nextLine(reader, view))
      lines.push_back({std::string(view.text), view.length, view.ended});
    EXPECT_EQ(reader.error, 0);
    // A line longer than the block keeps its first `block` bytes.
    ASSERT_EQ(lines, plainLines(text, block)) << block;
    EXPECT_EQ(reader.lines, static_cast<int64_t>(lines.size()));
    closeFile(handle);
  }
}

TEST(LineReaderTest, ReportsAFailedRead) {
  const FileHandle none = 0x7ffffff0;  // no file of the process has this number
  LineReader reader = startLineReader(none);
  LineView view;
  EXPECT_FALSE(nextLine(reader, view));
  EXPECT_NE(reader.error, 0);
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
