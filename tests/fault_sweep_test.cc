// Fault sweeps: a representative run is counted call by call, then run once more for
// every write, read, close, truncation, open and allocation it makes, with that one
// call failing, coming up short or followed by a signal (tests/fault_injector). Every
// such run must end as the call's failure maps to, leave only whole records that begin
// the correct output (or the old content untouched), and repeat no record.
//
// BOXPAINT_SWEEP=full sweeps every call with more actions on a larger model
// (bench/fault_sweep.sh); BOXPAINT_SWEEP_MESH="NE NN NZ" sets the model's cell counts.
#include <signal.h>

#include <gtest/gtest.h>

#include <iostream>

#include "support/fault_expectation.h"
#include "support/sweep_stage.h"

namespace {

struct Scenario {
  const char* name;
  SweepOutput output;
  const char* kinds;  // the kinds of call its run makes
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
  *out << scenario.name;
}

constexpr Scenario kScenarios[] = {
    // Replacing an older, longer model file.
    {"diskModel", SweepOutput::DiskModel, "write read close ftruncate open alloc"},
    // A reader on the far end drains it.
    {"fifoModel", SweepOutput::FifoModel, "write read close open alloc"},
    // `-inp`, record by record on a pipe.
    {"sampleOnStdout", SweepOutput::Stdout, "write alloc"},
    // `-inp` with FOR_PRINT naming an older, longer file.
    {"sampleInPrintFile", SweepOutput::PrintFile, "write close ftruncate open alloc"},
};

// The calls of a kind to fault: all of them, or in the normal sweep, when there are
// many (a FIFO handed over in pieces of at most PIPE_BUF bytes makes hundreds of writes),
// the first and last 16 and 16 spread evenly between.
std::vector<long> sweptCalls(long count) {
  std::vector<long> calls;
  constexpr long kEnds = 16;
  bool all = fullSweep() || count <= 3 * kEnds;
  long step = all ? 1 : (count - 2 * kEnds) / kEnds + 1;
  for (long n = 1; n <= count; ++n) {
    if (all || n <= kEnds || n > count - kEnds || (n - kEnds) % step == 0) calls.push_back(n);
  }
  return calls;
}

const std::vector<std::string> kSignals = {"SIGSEGV", "SIGBUS",  "SIGILL", "SIGFPE",
                                           "SIGINT",  "SIGQUIT", "SIGHUP", "SIGTERM"};

// The actions each kind of call is swept with.
std::vector<std::string> actionsFor(const std::string& kind) {
  bool full = fullSweep();
  if (kind == "write") {
    std::vector<std::string> actions = {"ENOSPC", "EINTR", "short"};
    if (full) actions.insert(actions.end(), {"EIO", "EFBIG", "EPIPE", "EDQUOT"});
    for (const std::string& s : kSignals) actions.push_back("signal=" + s);
    return actions;
  }
  if (kind == "read") return {"EIO", "EINTR", "short"};
  if (kind == "close") return {"EIO", "EINTR"};
  if (kind == "ftruncate")
    return full ? std::vector<std::string>{"EIO", "EINTR", "EPERM", "EFBIG"}
                : std::vector<std::string>{"EIO", "EINTR"};
  if (kind == "open") {
    std::vector<std::string> actions = {"ENOENT", "EACCES",       "EMFILE",
                                        "ENXIO",  "ENAMETOOLONG", "EINTR"};
    if (full) {
      actions.insert(actions.end(), {"ENOTDIR", "EPERM", "EROFS", "EISDIR", "ENODEV", "EEXIST",
                                     "EINVAL", "ENFILE", "ETXTBSY", "EBUSY", "ELOOP"});
    }
    return actions;
  }
  return {"ENOMEM"};
}

const std::string kKinds[] = {"write", "read", "close", "ftruncate", "open", "alloc"};

// Counts fault points and reports the first few that fail in full.
struct Tally {
  std::string name;
  int points = 0;
  int failing = 0;
  // One fault point: what was done, how to do it again, and what went wrong ("" if nothing).
  void add(const std::string& what, const std::string& again, const std::string& problem) {
    ++points;
    if (problem.empty()) return;
    if (++failing <= 10) {
      ADD_FAILURE() << name << " " << what << ": " << problem << "\n  again: " << again;
    }
  }
  ~Tally() {
    if (failing > 10) ADD_FAILURE() << name << ": " << failing - 10 << " more fault points fail";
    std::cout << "[ sweep    ] " << name << ": " << points << " fault points, " << failing
              << " failing" << std::endl;
    testing::Test::RecordProperty("faultPoints", points);
  }
};

class FaultSweepTest : public testing::TestWithParam<std::tuple<Scenario, std::string>> {
 protected:
  void SetUp() override {
    if (const char* why = whyNoInjector()) GTEST_SKIP() << why;
  }
};

TEST_P(FaultSweepTest, EveryFaultPointEndsAsMappedWithWholeRecords) {
  const auto& [scenario, kind] = GetParam();
  if (std::string(scenario.kinds).find(kind) == std::string::npos) {
    GTEST_SKIP() << "the run makes no call of this kind";
  }
  SweepStage stage(scenario.output);
  long count = stage.countCalls()[kind];
  ASSERT_GT(count, 0) << "the injector counted no call of this kind";
  Tally tally{scenario.name + (" " + kind)};
  for (long n : sweptCalls(count)) {
    for (const std::string& action : actionsFor(kind)) {
      std::string plan = kind + ":" + std::to_string(n) + ":" + action;
      SweepRun swept = stage.run(plan);
      tally.add(plan + " (on " + swept.report.target + ")", stage.command(plan),
                endingProblem(stage.target, acceptedEndings(stage.target, swept.report), swept.run,
                              swept.output));
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sweeps, FaultSweepTest,
                         testing::Combine(testing::ValuesIn(kScenarios), testing::ValuesIn(kKinds)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  std::get<1>(info.param);
                         });

// A console event while the run waits in a write to a FIFO whose reader has stalled:
// the run must still end, promptly, dropping whole what it cannot hand over.
TEST_F(FaultSweepTest, ConsoleEventEndsARunBlockedOnAStalledFifo) {
  SweepStage stage(SweepOutput::FifoModel);
  Tally tally{"fifoModel stalled reader"};
  // The normal sweep stalls at the start only: each point may cost the whole stall.
  std::vector<long long> stalls = {0};
  for (long long at = 512 << 10;
       fullSweep() && at < static_cast<long long>(stage.target.full.size()); at += 512 << 10) {
    stalls.push_back(at);
  }
  struct Event {
    const char* name;
    int signal;
  };
  for (long long stall : stalls) {
    for (Event event : {Event{"SIGINT", SIGINT}, {"SIGQUIT", SIGQUIT}, {"SIGHUP", SIGHUP}}) {
      SweepRun swept = stage.run("", stall, event.signal);
      std::string what = std::string(event.name) + " with the reader stalled after " +
                         std::to_string(stall) + " bytes";
      tally.add(what,
                stage.command("") + ", the reader stalling; kill -" + (event.name + 3) +
                    " once the FIFO is full",
                swept.stallRanOut ? "still writing to the stalled FIFO " +
                                        std::to_string(kStallLimitMs) + " ms after the stall"
                                  : endingProblem(stage.target, signalEndings(event.name),
                                                  swept.run, swept.output));
    }
  }
}

}  // namespace
