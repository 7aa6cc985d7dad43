#include "freeform/record_source.h"

#if !defined(_WIN32)
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "freeform/text_connection_testing.h"

namespace {

// All records of `connection`'s file, then the failure that ended them.
std::vector<std::string> recordsOf(Connection& connection, int& status) {
  std::vector<std::string> records;
  RecordSource source;
  for (;;) {
    const Message failure = fetchRecord(source, connection);
    if (failure != Message::None) {
      status = numberOf(failure);
      break;
    }
    records.emplace_back(source.buffer + source.recordStart, source.recordEnd - source.recordStart);
  }
  releaseRecordSource(source);
  return records;
}

struct RecordCase {
  const char* name;
  std::string text;
  TerminatorKind terminator;
  std::vector<std::string> records;
};

TEST(FetchRecordTest, CutsRecordsAtLineEnds) {
  const TerminatorKind normal = TerminatorKind::Normal;
  const RecordCase cases[] = {
      {"empty file", "", normal, {}},
      {"LF lines", "1 2\n3\n", normal, {"1 2", "3"}},
      {"CR LF lines", "1 2\r\n3\r\n", normal, {"1 2", "3"}},
      {"CR CR LF", "1\r\r\n2\r\r\r\n", normal, {"1", "2"}},
      {"CR inside a line stays", "1\r2\n", normal, {"1\r2"}},
      {"bare CR is no line end", "1\r2\r", normal, {"1\r2"}},
      {"empty lines", "\n\r\n\n", normal, {"", "", ""}},
      {"last line without LF", "1\n2 3", normal, {"1", "2 3"}},
      {"last line of CRs only", "1\n\r\r", normal, {"1", ""}},
      {"0x1A line ends the file", "1\n\x1a\n2\n", normal, {"1"}},
      {"0x1A CR LF line ends the file", "1\r\n\x1a\r\n2\n", normal, {"1"}},
      {"0x1A as the last line", "1\n\x1a", normal, {"1"}},
      {"0x1A with more text is a record", "\x1a\x1a\n \x1a\n", normal, {"\x1a\x1a", " \x1a"}},
      {"LF and CR LF kinds read like LF", "1\r\n2\n", TerminatorKind::LF, {"1", "2"}},
      {"CR LF kind", "1\r\r\n2", TerminatorKind::CRLF, {"1", "2"}},
      {"CR kind ends at every CR", "1\r\n2\r\r3", TerminatorKind::CR, {"1", "\n2", "", "3"}},
      {"CR kind keeps LF", "1\n2\n", TerminatorKind::CR, {"1\n2\n"}},
      {"CR kind 0x1A record", "1\r\x1a\r2\r", TerminatorKind::CR, {"1"}},
  };
  for (const RecordCase& c : cases) {
    TextConnection file(c.text, c.terminator);
    int status = 0;
    EXPECT_EQ(recordsOf(file.connection, status), c.records) << c.name;
    EXPECT_EQ(status, 24) << c.name;
  }
}

TEST(FetchRecordTest, GrowsTheBufferForLongRecords) {
  // Longer than the first buffer, several doublings, split across many block reads.
  std::string longLine(600 * 1024, 'x');
  longLine[12345] = '7';
  const std::string text = "a\n" + longLine + "\r\nb\n" + longLine;
  TextConnection file(text);
  int status = 0;
  const std::vector<std::string> records = recordsOf(file.connection, status);
  ASSERT_EQ(records.size(), 4u);
  EXPECT_EQ(records[0], "a");
  EXPECT_EQ(records[1], longLine);
  EXPECT_EQ(records[2], "b");
  EXPECT_EQ(records[3], longLine);
  EXPECT_EQ(status, 24);
}

TEST(FetchRecordTest, ManyShortRecordsAcrossBlockBoundaries) {
  std::string text;
  for (int i = 0; i < 40000; ++i) text += std::to_string(i) + (i % 3 == 0 ? "\r\n" : "\n");
  TextConnection file(text);
  int status = 0;
  const std::vector<std::string> records = recordsOf(file.connection, status);
  ASSERT_EQ(records.size(), 40000u);
  for (int i = 0; i < 40000; ++i) ASSERT_EQ(records[i], std::to_string(i));
}

// A read that the device refuses.
int64_t refuseRead(FileHandle, void*, size_t, SystemError* error) {
  *error = systemError(ErrorName::Io);
  return -1;
}

TEST(FetchRecordTest, AFailedReadIsError39) {
  TextConnection file("1 2 3\n");
  systemCalls().readFile = refuseRead;
  int status = 0;
  EXPECT_TRUE(recordsOf(file.connection, status).empty());
  systemCalls() = platformSystemCalls();
  EXPECT_EQ(status, 39);
}

#if defined(__SANITIZE_ADDRESS__)
#define FREEFORM_UNDER_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define FREEFORM_UNDER_ADDRESS_SANITIZER 1
#endif
#endif

TEST(FetchRecordTest, ABufferThatCannotGrowIsError98) {
#if defined(FREEFORM_UNDER_ADDRESS_SANITIZER)
  GTEST_SKIP() << "an address-space limit does not mix with the address sanitizer";
#elif defined(_WIN32)
  GTEST_SKIP() << "the system has no address-space limit for a child process to set";
#else
  // A sparse file of 64 MiB without a line end: one record that cannot fit under a
  // 48 MiB address-space limit. The reading happens in a child process.
  TextConnection file("");
  const int writer = open(file.path.c_str(), O_WRONLY);
  ASSERT_EQ(ftruncate(writer, 64 << 20), 0);
  close(writer);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    rlimit limit{};
    getrlimit(RLIMIT_AS, &limit);
    limit.rlim_cur = 48u << 20;
    setrlimit(RLIMIT_AS, &limit);
    RecordSource source;
    _exit(numberOf(fetchRecord(source, file.connection)));
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 98);
#endif
}

}  // namespace
