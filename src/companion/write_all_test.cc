#include "companion/write_all.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <thread>

namespace {

TEST(WriteAllTest, WaitsOnAFullNonBlockingPipeUntilEveryByteIsTaken) {
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
  EXPECT_EQ(writeAll(ends[1], text.data(), text.size()), 0);
  close(ends[1]);
  reader.join();
  close(ends[0]);
  EXPECT_EQ(received, text);
}

TEST(WriteAllTest, GivesTheErrorOfAWriteThatFails) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  close(ends[0]);
  const auto previous = signal(SIGPIPE, SIG_IGN);
  EXPECT_EQ(writeAll(ends[1], "x", 1), EPIPE);
  signal(SIGPIPE, previous);
  close(ends[1]);
  EXPECT_EQ(writeAll(ends[1], "x", 1), EBADF);
}

}  // namespace
