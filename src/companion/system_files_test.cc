#include "companion/system_files.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>

namespace {

TEST(WriteWholeTest, WaitsOnAFullNonBlockingPipeUntilEveryByteIsTaken) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  fcntl(ends[1], F_SETFL, fcntl(ends[1], F_GETFL) | O_NONBLOCK);
  std::string text(1 << 20, ' ');
  for (size_t i = 0; i < text.size(); ++i) text[i] = static_cast<char>('a' + i % 26);
  std::string received;
  std::thread reader([&] {
    char block[4096];
    ssize_t got;
    while ((got = read(ends[0], block, sizeof block)) > 0) received.append(block, got);
  });
  EXPECT_EQ(writeWhole(ends[1], text.data(), text.size()), 0);
  close(ends[1]);
  reader.join();
  close(ends[0]);
  EXPECT_EQ(received, text);
}

TEST(WriteWholeTest, GivesTheErrorOfAWriteThatFails) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  close(ends[0]);
  const auto previous = signal(SIGPIPE, SIG_IGN);
  EXPECT_EQ(writeWhole(ends[1], "x", 1), EPIPE);
  signal(SIGPIPE, previous);
  close(ends[1]);
  EXPECT_EQ(writeWhole(ends[1], "x", 1), EBADF);
}

TEST(ReadSomeTest, WaitsOnANonBlockingPipeUntilBytesCome) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  fcntl(ends[0], F_SETFL, fcntl(ends[0], F_GETFL) | O_NONBLOCK);
  std::thread writer([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(write(ends[1], "abc", 3), 3);
    close(ends[1]);
  });
  char got[8];
  SystemError error = 0;
  EXPECT_EQ(readSome(ends[0], got, sizeof got, error), 3);
  EXPECT_EQ(readSome(ends[0], got, sizeof got, error), 0);
  writer.join();
  close(ends[0]);
}

TEST(CreateUniqueFileTest, NamesEachNewFileApart) {
  std::string first = "/tmp/.boxpaint-companion-test.XXXXXX";
  std::string second = first;
  SystemError error = 0;
  const FileHandle a = createUniqueFile(first, error);
  const FileHandle b = createUniqueFile(second, error);
  ASSERT_NE(a, kNoFile);
  ASSERT_NE(b, kNoFile);
  EXPECT_NE(first, second);
  EXPECT_EQ(first.substr(0, first.size() - 6), "/tmp/.boxpaint-companion-test.");
  EXPECT_TRUE(sameFile(first.c_str(), first.c_str()));
  EXPECT_FALSE(sameFile(first.c_str(), second.c_str()));
  EXPECT_EQ(renameFile(second.c_str(), first.c_str()), 0);  // replaces the first
  EXPECT_FALSE(sameFile(first.c_str(), second.c_str()));    // the second name is gone
  EXPECT_EQ(closeFile(a), 0);
  EXPECT_EQ(closeFile(b), 0);
  removeFile(first.c_str());
  EXPECT_FALSE(isFolder(first.c_str()));
  EXPECT_TRUE(isFolder("/tmp"));
}

}  // namespace
