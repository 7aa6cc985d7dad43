// Interrupt, break and hang-up during a run: message 200, status 0, 1 or 2, and a
// model file that holds only whole, correct records.
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstring>

#include "support/run_boxpaint.h"

namespace {

// A model of 8 million cells: long enough to be interrupted part-way.
const char kBigMesh[] = "200 200 200\n0 0 1000\n200*1\n200*1\n200*1\n";
const char kBlocks[] = "1.5\n1\n10 30 0 10 800 1000 7\n";

struct EventCase {
  const char* name;
  int signal;
  const char* event;
  int status;
};

void PrintTo(const EventCase& c, std::ostream* out) {
  *out << c.name;
}

class ConsoleEventTest : public testing::TestWithParam<EventCase> {};

TEST_P(ConsoleEventTest, EndsWithMessage200AndWholeRecords) {
  TempDir dir;
  dir.write("mesh.txt", kBigMesh);
  dir.write("blocks.inp", kBlocks);
  RunResult run = runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"},
                               .directory = dir.path(),
                               .signalWhenFile = dir.file("model.txt"),
                               .signalWhenBytes = 1,
                               .signal = GetParam().signal});
  EXPECT_EQ(run.termSignal, 0);
  EXPECT_EQ(run.status, GetParam().status);
  // Interrupted part-way: fewer records than the 8 million of a whole model. A wrapper
  // such as valgrind runs one thread at a time, so the event may be taken only after
  // the last record.
  if (!runsUnderWrapper()) {
    EXPECT_LT(readFile(dir.file("model.txt")).size(), 12u * 8000000u);
  }
  EXPECT_EQ(firstLine(run.err), std::string("forrtl: error (200): program aborting due to ") +
                                    GetParam().event + " event");
  EXPECT_NE(run.err.find("Image              PC"), std::string::npos);
  std::string model = readFile(dir.file("model.txt"));
  ASSERT_EQ(model.size() % 12, 0u);
  for (size_t at = 0; at < model.size(); at += 12) {
    std::string record = model.substr(at, 12);
    ASSERT_TRUE(record == " 1.500E+00\r\n" || record == " 7.000E+00\r\n") << "record at " << at;
  }
}

INSTANTIATE_TEST_SUITE_P(Events, ConsoleEventTest,
                         testing::Values(EventCase{"interrupt", SIGINT, "control-C", 0},
                                         EventCase{"quit", SIGQUIT, "control-BREAK", 1},
                                         EventCase{"hangUp", SIGHUP, "window-CLOSE", 2}),
                         [](const testing::TestParamInfo<EventCase>& info) {
                           return info.param.name;
                         });

// Only whole records, each of the two values the model holds.
testing::AssertionResult wholeModelRecords(const std::string& bytes) {
  if (bytes.size() % 12 != 0) return testing::AssertionFailure() << bytes.size() << " bytes";
  for (size_t at = 0; at < bytes.size(); at += 12) {
    const std::string record = bytes.substr(at, 12);
    if (record != " 1.500E+00\r\n" && record != " 7.000E+00\r\n") {
      return testing::AssertionFailure() << "record at " << at << ": " << record;
    }
  }
  return testing::AssertionSuccess();
}

TEST(ConsoleEventTest, EndsARunBlockedOnAStalledReader) {
  // A pager that stopped reading the console, or a FIFO model whose reader stalled: the
  // writing blocks, and an interrupt must still end the run, leaving whole records.
  for (bool fifo : {false, true}) {
    SCOPED_TRACE(fifo ? "FIFO model" : "model on a stalled console");
    TempDir dir;
    dir.write("mesh.txt", kBigMesh);
    dir.write("blocks.inp", kBlocks);
    int reader = -1;
    if (fifo) {
      ASSERT_EQ(mkfifo(dir.file("model.fifo").c_str(), 0600), 0);
      reader = open(dir.file("model.fifo").c_str(), O_RDONLY | O_NONBLOCK);
    }
    RunResult run = runBoxpaint({.args = {"mesh.txt", "blocks.inp", fifo ? "model.fifo" : "CON"},
                                 .directory = dir.path(),
                                 .signalAfterMs = 300,
                                 .signal = SIGINT,
                                 .leaveStdoutUnread = !fifo,
                                 .killAfterMs = 10000});
    EXPECT_FALSE(run.killed) << "still blocked 10 s after the start";
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(firstLine(run.err), "forrtl: error (200): program aborting due to control-C event");
    std::string received = run.out;
    if (fifo) {
      char buffer[65536];
      for (ssize_t n; (n = read(reader, buffer, sizeof buffer)) > 0;) received.append(buffer, n);
      close(reader);
    }
    EXPECT_GT(received.size(), 0u);
    EXPECT_TRUE(wholeModelRecords(received));
  }
}

// `kill`, `timeout`, an alarm or a user's signal: whatever ends the process by default
// still ends it by that signal, silently, and the model keeps only whole records.
TEST(ConsoleEventTest, TerminatingSignalsKeepWholeRecordsAndEndTheProcess) {
  for (int signal : {SIGTERM, SIGABRT, SIGALRM, SIGUSR1, SIGRTMIN + 2}) {
    SCOPED_TRACE(strsignal(signal));
    TempDir dir;
    dir.write("mesh.txt", kBigMesh);
    dir.write("blocks.inp", kBlocks);
    RunResult run = runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"},
                                 .directory = dir.path(),
                                 .signalWhenFile = dir.file("model.txt"),
                                 .signalWhenBytes = 1,
                                 .signal = signal});
    EXPECT_EQ(run.termSignal, signal);
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(wholeModelRecords(readFile(dir.file("model.txt"))));
  }
}

TEST(ConsoleEventTest, InheritedIgnoredInterruptStaysIgnored) {
  TempDir dir;
  dir.write("mesh.txt", "100 100 100\n0 0 1000\n100*1\n100*1\n100*1\n");
  dir.write("blocks.inp", kBlocks);
  RunResult run = runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"},
                               .directory = dir.path(),
                               .ignoredSignals = {SIGINT},
                               .signalAfterMs = 20,
                               .signal = SIGINT});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(readFile(dir.file("model.txt")).size(), 12u * 1000000u);
}

}  // namespace

namespace {

TEST(ProcessorExceptionTest, FaultIsReportedAndWholeRecordsKept) {
  TempDir dir;
  dir.write("mesh.txt", kBigMesh);
  dir.write("blocks.inp", kBlocks);
  RunResult run = runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"},
                               .directory = dir.path(),
                               .signalWhenFile = dir.file("model.txt"),
                               .signalWhenBytes = 1,
                               .signal = SIGSEGV});
  EXPECT_EQ(run.termSignal, 0);
  EXPECT_EQ(run.status, 157);
  EXPECT_EQ(firstLine(run.err), "forrtl: severe (157): Program Exception - access violation");
  EXPECT_NE(run.err.find("Image              PC"), std::string::npos);
  std::string model = readFile(dir.file("model.txt"));
  EXPECT_EQ(model.size() % 12, 0u);
  EXPECT_GT(model.size(), 0u);
}

TEST(ProcessorExceptionTest, IgnoreSwitchLeavesFaultToTheSystem) {
  TempDir dir;
  dir.write("mesh.txt", kBigMesh);
  dir.write("blocks.inp", kBlocks);
  RunResult run =
      runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"},
                   // A sanitizer build must not take the fault over either.
                   .setEnv = {"FOR_IGNORE_EXCEPTIONS=yes", "ASAN_OPTIONS=handle_segv=0"},
                   .directory = dir.path(),
                   .signalWhenFile = dir.file("model.txt"),
                   .signalWhenBytes = 1,
                   .signal = SIGSEGV});
  EXPECT_EQ(run.termSignal, SIGSEGV);
  EXPECT_EQ(run.err, "");
}

}  // namespace
