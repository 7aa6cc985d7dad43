// Fault sweeps: a representative run is counted call by call, then run once more for
// every write, read, close, truncation, open and allocation it makes, with that one
// call failing, coming up short or followed by a signal (tests/fault_injector). Every
// such run must end as the call's failure maps to, leave only whole records that begin
// the correct output (or the old content untouched), and repeat no record.
//
// BOXPAINT_SWEEP=full sweeps every call with more actions on a larger model
// (bench/fault_sweep.sh); BOXPAINT_SWEEP_MESH="NE NN NZ" sets the model's cell counts.
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <sstream>

#include "support/fault_expectation.h"
#include "support/fifo_reader.h"
#include "support/injector_report.h"
#include "support/run_boxpaint.h"

namespace {

// AddressSanitizer must own malloc: it refuses a preloaded library that replaces it.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

constexpr int kKillAfterMs = 20000;  // a run that hangs is a failure, not a stuck test
constexpr int kStallLimitMs = 3000;  // a console event must end a blocked run well before

bool fullSweep() {
  const char* sweep = std::getenv("BOXPAINT_SWEEP");
  return sweep != nullptr && std::string(sweep) == "full";
}

enum class Output { DiskModel, FifoModel, Stdout, PrintFile };

struct Scenario {
  const char* name;
  Output output;
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
  *out << scenario.name;
}

constexpr Scenario kScenarios[] = {
    {"diskModel", Output::DiskModel},          // replacing an older, longer model file
    {"fifoModel", Output::FifoModel},          // a reader on the far end drains it
    {"sampleOnStdout", Output::Stdout},        // `-inp`, record by record on a pipe
    {"sampleInPrintFile", Output::PrintFile},  // `-inp` with FOR_PRINT naming an old file
};

// A mesh of unit cells and one block per easting-northing column, each of a value of
// its own: no stretch of the model repeats another, so a record handed over twice shows.
void writeModelInputs(const TempDir& dir) {
  int ne = fullSweep() ? 150 : 100, nn = ne, nz = 30;
  if (const char* mesh = std::getenv("BOXPAINT_SWEEP_MESH"))
    std::istringstream(mesh) >> ne >> nn >> nz;
  dir.write("mesh.txt", std::to_string(ne) + " " + std::to_string(nn) + " " + std::to_string(nz) +
                            "\n0 0 1000\n" + std::to_string(ne) + "*1\n" + std::to_string(nn) +
                            "*1\n" + std::to_string(nz) + "*1\n");
  std::ostringstream blocks;
  blocks << "1.5\n" << ne * nn << "\n";
  for (int j = 0; j < ne; ++j) {
    for (int k = 0; k < nn; ++k) {
      blocks << j << ' ' << j + 1 << ' ' << k << ' ' << k + 1 << " 1000 " << 1000 - nz << ' '
             << 1 + k % 9000 / 1000.0 << 'e' << j % 180 - 90 << '\n';
    }
  }
  dir.write("blocks.inp", blocks.str());
}

// What one swept run did.
struct SweepRun {
  RunResult run;
  std::string output;  // the bytes of the output: file, FIFO or standard output
  InjectorReport report;
  bool stallRanOut = false;
};

// A scenario laid out in a temporary directory, with the output of an undisturbed run.
struct Stage {
  TempDir dir;
  Output output;
  SweepTarget target;
  std::vector<std::string> args;
  std::vector<std::string> env;
  std::string outputPath;  // the model, FIFO or print file; empty for standard output

  explicit Stage(Output kind) : output(kind) {
    if (kind == Output::Stdout || kind == Output::PrintFile) {
      args = {"-inp"};
      target.unit = -1;
      target.recordBytes = 0;
      target.name = "stdout";
      if (kind == Output::PrintFile) {
        env = {"FOR_PRINT=print.txt"};
        outputPath = target.name = dir.file("print.txt");
      }
      RunResult plain = runBoxpaint({.args = args, .setEnv = env, .directory = dir.path()});
      EXPECT_EQ(plain.status, 0) << plain.err;
      target.full = kind == Output::Stdout ? plain.out : readFile(outputPath);
    } else {
      writeModelInputs(dir);
      target.mesh = dir.file("mesh.txt");
      target.blocks = dir.file("blocks.inp");
      target.meshTyped = "mesh.txt";
      target.blocksTyped = "blocks.inp";
      RunResult plain =
          runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"}, .directory = dir.path()});
      EXPECT_EQ(plain.status, 0) << plain.err;
      target.full = readFile(dir.file("model.txt"));
      std::string name = kind == Output::FifoModel ? "model.fifo" : "model.txt";
      args = {"mesh.txt", "blocks.inp", name};
      outputPath = target.name = dir.file(name);
      if (kind == Output::FifoModel) mkfifo(outputPath.c_str(), 0600);
    }
    if (kind == Output::DiskModel || kind == Output::PrintFile) {
      // Longer than the new output, and not a whole number of its records.
      while (target.old.size() <= target.full.size()) target.old += "old content, to go\n";
    }
  }

  std::string reportPath() const { return dir.file("fault-report.txt"); }

  // One run with `plan` preloaded (none when empty), the output file as it was before.
  // With `stallAfter` >= 0 the FIFO's reader stalls once it holds that many bytes, and
  // `signal` is sent when the FIFO is then full: the run waits in a write.
  SweepRun run(const std::string& plan, long long stallAfter = -1, int signal = 0) const {
    if (!target.old.empty()) dir.write(outputPath.substr(dir.path().size() + 1), target.old);
    unlink(reportPath().c_str());
    RunOptions options{.args = args, .setEnv = env, .directory = dir.path()};
    options.killAfterMs = kKillAfterMs;
    options.setEnv.push_back(std::string("LD_PRELOAD=") + faultInjectorPath());
    options.setEnv.push_back("BOXPAINT_FAULT_REPORT=" + reportPath());
    if (!plan.empty()) options.setEnv.push_back("BOXPAINT_FAULT=" + plan);
    std::string fullMark = dir.file("fifo-full");
    unlink(fullMark.c_str());
    if (signal != 0) {
      options.signal = signal;
      options.signalWhenFile = fullMark;
    }
    std::optional<FifoReader> reader;
    if (output == Output::FifoModel) {
      reader.emplace(outputPath, stallAfter, kStallLimitMs, signal != 0 ? fullMark : "");
    }
    SweepRun swept;
    swept.run = runBoxpaint(options);
    swept.output = reader                     ? reader->finish()
                   : output == Output::Stdout ? swept.run.out
                                              : readFile(outputPath);
    swept.stallRanOut = reader && reader->stallRanOut();
    swept.report = readInjectorReport(reportPath());
    return swept;
  }

  // How to make the run again by hand, in a directory laid out like this one.
  std::string command(const std::string& plan) const {
    std::string text = plan.empty() ? "" : "BOXPAINT_FAULT=" + plan + " ";
    for (const std::string& e : env) text += e + " ";
    text += std::string("LD_PRELOAD=") + faultInjectorPath() + " " + BOXPAINT_EXE;
    for (const std::string& a : args) text += " " + a;
    return text;
  }

  // The counting run: how many calls of each kind an undisturbed run makes.
  std::map<std::string, long> countCalls() const {
    SweepRun counted = run("");
    EXPECT_EQ(counted.run.status, 0) << counted.run.err;
    EXPECT_EQ(counted.output, target.full);
    EXPECT_FALSE(counted.report.calls.empty()) << "the fault injector wrote no report";
    return counted.report.calls;
  }
};

// The calls of a kind to fault: all of them, or in the normal sweep, when there are
// many (a FIFO handed over in pieces of at most PIPE_BUF bytes makes hundreds of writes),
// the first and last 16 and 16 spread evenly between.
std::vector<long> sweptCalls(long count) {
  std::vector<long> calls;
  constexpr long kEnds = 16;
  for (long n = 1; n <= count; ++n) {
    bool spread = (n - kEnds) % ((count - 2 * kEnds) / kEnds + 1) == 0;
    if (fullSweep() || count <= 3 * kEnds || n <= kEnds || n > count - kEnds || spread) {
      calls.push_back(n);
    }
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
    if (kSanitized) GTEST_SKIP() << "a sanitizer refuses a preloaded allocator";
    if (runsUnderWrapper()) GTEST_SKIP() << "the wrapper would take the preloaded library";
  }
};

TEST_P(FaultSweepTest, EveryFaultPointEndsAsMappedWithWholeRecords) {
  const auto& [scenario, kind] = GetParam();
  Stage stage(scenario.output);
  long count = stage.countCalls()[kind];
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
  Stage stage(Output::FifoModel);
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
