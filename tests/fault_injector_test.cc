// The fault injector itself, on a probe that makes every kind of call it counts: the
// sweeps lose their fault points without a word if a call goes uncounted.
#include <signal.h>

#include <gtest/gtest.h>

#include "support/injector_report.h"
#include "support/run_boxpaint.h"

namespace {

class FaultInjectorTest : public testing::Test {
 protected:
  void SetUp() override {
    if (const char* why = whyNoInjector()) GTEST_SKIP() << why;
  }
  RunResult probe(const std::string& plan) {
    return runBoxpaint(
        {.setEnv = {std::string("LD_PRELOAD=") + faultInjectorPath(),
                    "BOXPAINT_FAULT_REPORT=" + dir.file("report.txt"), "BOXPAINT_FAULT=" + plan},
         .directory = dir.path(),
         .program = BOXPAINT_FAULT_INJECTOR_PROBE});
  }
  TempDir dir;
};

TEST_F(FaultInjectorTest, CountsEachKindFromMainOnAnyThread) {
  RunResult run = probe("");
  EXPECT_EQ(run.status, 0) << "a call before main was counted, or the probe failed";
  InjectorReport report = readInjectorReport(dir.file("report.txt"));
  EXPECT_FALSE(report.faulted);
  // write, pwrite, writev, and pwrite64 on a second thread; pread and read.
  EXPECT_EQ(report.calls["write"], 4);
  EXPECT_EQ(report.calls["read"], 2);
  EXPECT_EQ(report.calls["open"], 1);
  EXPECT_EQ(report.calls["ftruncate"], 1);
  EXPECT_EQ(report.calls["close"], 1);
  EXPECT_GT(report.calls["alloc"], 0);
}

TEST_F(FaultInjectorTest, FaultsTheNamedCallAndReportsItsFile) {
  struct Case {
    const char* plan;
    const char* shown;  // what the probe prints for the faulted call: result, errno
  } const cases[] = {
      {"write:4:EIO", "pwrite64 -1 5"},      {"write:3:short", "writev 2 0"},
      {"read:1:EINTR", "pread -1 4"},        {"open:1:EACCES", "openat -1 13"},
      {"ftruncate:1:EIO", "ftruncate -1 5"}, {"close:1:EIO", "close -1 5"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.plan);
    RunResult run = probe(c.plan);
    EXPECT_NE(run.out.find(std::string(c.shown) + "\n"), std::string::npos) << run.out;
    InjectorReport report = readInjectorReport(dir.file("report.txt"));
    EXPECT_TRUE(report.faulted);
    EXPECT_EQ(report.target.substr(report.target.rfind('/') + 1), "probe.txt");
  }
}

TEST_F(FaultInjectorTest, SignalFollowsTheWriteAndTheReportPrecedesIt) {
  RunResult run = probe("write:2:signal=SIGTERM");
  EXPECT_EQ(run.termSignal, SIGTERM);
  EXPECT_EQ(readFile(dir.file("probe.txt")), "abcd");
  InjectorReport report = readInjectorReport(dir.file("report.txt"));
  EXPECT_EQ(report.kind + " " + std::to_string(report.call) + " " + report.action,
            "write 2 signal=SIGTERM");
}

}  // namespace
