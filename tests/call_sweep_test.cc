// Fault sweeps in-process: a representative run is counted call by call through the
// run-time's table of system calls, then made once more for every open, read, write,
// cut, close and allocation it makes, with that one call failing (for each reason a
// sweep names), interrupted, or coming up short. Every such run must end as the call's
// failure maps to, leave only whole records that begin the correct output (or the old
// content untouched), and repeat no record. It needs nothing from outside the process,
// so it runs wherever the tests run.
//
// BOXPAINT_SWEEP=full sweeps every call on a larger model; BOXPAINT_SWEEP_MESH="NE NN NZ"
// sets the model's cell counts.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <new>
#include <optional>
#include <random>
#include <thread>

#include "app/run_driver.h"
#include "runtime/environment/command_line.h"
#include "runtime/platform/file_transfers.h"
#include "runtime/process/test_end_hook.h"
#include "support/call_faults.h"
#include "support/fault_expectation.h"
#include "support/file_content.h"
#include "support/sweep_inputs.h"

namespace {

namespace fs = std::filesystem;

// Where a scenario's output goes.
enum class Output { DiskModel, FifoModel, Stdout, PrintFile };

#ifndef _WIN32
// Drains a FIFO on a thread of its own for as long as a run may write to it.
class FifoDrain {
 public:
  explicit FifoDrain(const fs::path& path) : path_(path.string()) {
    thread_ = std::thread([this] {
      keepThreadOutOfCount();
      const int fd = open(path_.c_str(), O_RDONLY);
      char block[65536];
      for (ssize_t n; fd >= 0 && (n = read(fd, block, sizeof block)) != 0;) {
        if (n > 0) bytes_.append(block, static_cast<size_t>(n));
      }
      if (fd >= 0) close(fd);
      done_.store(true);
    });
  }

  // What the run wrote, once it has ended. A run that never opened the FIFO leaves the
  // reader waiting in its open, which a writer of its own then lets go.
  std::string finish() {
    while (!done_.load()) {
      const int writer = open(path_.c_str(), O_WRONLY | O_NONBLOCK);
      if (writer >= 0) close(writer);
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    thread_.join();
    return bytes_;
  }

 private:
  std::string path_;
  std::string bytes_;
  std::atomic<bool> done_{false};
  std::thread thread_;
};
#endif

// A scenario laid out in a directory of its own, with the output of an undisturbed run.
struct Stage {
  fs::path dir;
  Output output;
  std::vector<std::string> args;  // the program name first
  std::map<std::string, std::string> environment;
  fs::path outputPath;  // the model or print file; empty for standard output
  SweepTarget target;

  Stage(Output kind, const std::string& name) : output(kind) {
    // A name of its own, so that two sweeps running at once never share a directory.
    dir = fs::temp_directory_path() /
          ("boxpaint_call_sweep_" + name + "_" + std::to_string(std::random_device()()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    dir = fs::canonical(dir);
    // Diagnostics are judged by their first line; their listings only cost time.
    environment["FOR_DISABLE_STACK_TRACE"] = "1";
    if (kind == Output::DiskModel || kind == Output::FifoModel) {
      int ne, nn, nz;
      sweptMeshCounts(ne, nn, nz);
      target.mesh = target.meshTyped = (dir / "mesh.txt").string();
      target.blocks = target.blocksTyped = (dir / "blocks.inp").string();
      writeFileContent(target.mesh, sweptMeshText(ne, nn, nz));
      writeFileContent(target.blocks, sweptBlockText(ne, nn, nz));
      outputPath = dir / (kind == Output::FifoModel ? "model.fifo" : "model.txt");
#ifndef _WIN32
      if (kind == Output::FifoModel) mkfifo(outputPath.c_str(), 0600);
#endif
      args = {"boxpaint", target.mesh, target.blocks, outputPath.string()};
      target.name = outputPath.string();
    } else {
      args = {"boxpaint", "-inp"};
      target.unit = -1;
      target.recordBytes = 0;
      target.name = "stdout";
      if (kind == Output::PrintFile) {
        outputPath = dir / "print.txt";
        environment["FOR_PRINT"] = outputPath.string();
        target.name = outputPath.string();
      }
    }
    RunOutcome plain = run({});
    EXPECT_EQ(plain.result.status, 0) << plain.result.err;
    target.full = plain.output;
    if (kind == Output::DiskModel || kind == Output::PrintFile) {
      // Longer than the new output, and not a whole number of its records.
      while (target.old.size() <= target.full.size()) target.old += "old content, to go\n";
    }
  }

  ~Stage() {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }

  struct RunOutcome {
    RunResult result;
    std::string output;
    InjectorReport report;
  };

  // One run in-process with the fault `plan`, the output file put back as it was first.
  RunOutcome run(const CallFaultPlan& plan) const {
    if (!target.old.empty()) writeFileContent(outputPath, target.old);
    const fs::path outPath = dir / "stdout.txt";
    const fs::path errPath = dir / "stderr.txt";
    fs::remove(outPath);
    fs::remove(errPath);
    SystemError error = 0;
    const FileHandle out = openFileRetrying(outPath.string().c_str(), OpenIntent::Write, &error);
    const FileHandle err = openFileRetrying(errPath.string().c_str(), OpenIntent::Write, &error);
    RunOutcome outcome;
#ifndef _WIN32
    std::optional<FifoDrain> drain;
    if (output == Output::FifoModel) drain.emplace(outputPath);
#endif
    {
      CallFaults faults(plan, out, err, environment);
      std::vector<const char*> argv;
      for (const std::string& a : args) argv.push_back(a.c_str());
      faults.arm();
      outcome.result.status = endStatusOf([&] {
        setCommandLine(static_cast<int>(argv.size()), argv.data());
        runDriver();
      });
      outcome.report = faults.report();
    }
    closeFileOnce(out, &error);
    closeFileOnce(err, &error);
    outcome.result.out = fileContent(outPath);
    outcome.result.err = fileContent(errPath);
#ifndef _WIN32
    if (drain) {
      outcome.output = drain->finish();
      return outcome;
    }
#endif
    outcome.output = output == Output::Stdout ? outcome.result.out : fileContent(outputPath);
    return outcome;
  }
};

struct Scenario {
  const char* name;
  Output output;
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
  *out << scenario.name;
}

constexpr Scenario kScenarios[] = {
    // Replacing an older, longer model file.
    {"diskModel", Output::DiskModel},
#ifndef _WIN32
    // A reader on the far end drains it.
    {"fifoModel", Output::FifoModel},
#endif
    // `-inp`, record by record, on a standard output that is a file.
    {"sampleOnStdout", Output::Stdout},
    // `-inp` with FOR_PRINT naming an older, longer file.
    {"sampleInPrintFile", Output::PrintFile},
};

const std::string kKinds[] = {"write", "read", "close", "ftruncate", "open", "alloc"};

// The actions each kind of call is swept with. A file may fill up in the middle of a
// write; a pipe takes a piece of whole records whole or not at all.
std::vector<std::string> actionsFor(const std::string& kind, Output output) {
  if (kind == "write" && output == Output::FifoModel) return {"BrokenPipe", "Io", "Interrupted"};
  if (kind == "write") return {"DiskFull", "Io", "Interrupted", "short", "fillsUp"};
  if (kind == "read") return {"Io", "Interrupted", "short"};
  if (kind == "close" || kind == "ftruncate") return {"Io", "Interrupted"};
  if (kind == "open") return openFaultActions();
  return {"NoMemory"};
}

// The calls of a kind to fault: all of them, or in the normal sweep, when there are many,
// the first and last 16 and 16 spread evenly between.
std::vector<long> sweptCalls(long count) {
  std::vector<long> calls;
  constexpr long kEnds = 16;
  const bool all = fullSweep() || count <= 3 * kEnds;
  const long step = all ? 1 : (count - 2 * kEnds) / kEnds + 1;
  for (long n = 1; n <= count; ++n) {
    if (all || n <= kEnds || n > count - kEnds || (n - kEnds) % step == 0) calls.push_back(n);
  }
  return calls;
}

class CallSweepTest : public testing::TestWithParam<std::tuple<Scenario, std::string>> {
 protected:
  void SetUp() override { previous = std::set_new_handler(refuseMemoryAsTheProgramsDo); }
  void TearDown() override { std::set_new_handler(previous); }
  std::new_handler previous = nullptr;
};

TEST_P(CallSweepTest, EveryFaultPointEndsAsMappedWithWholeRecords) {
  const auto& [scenario, kind] = GetParam();
  const Stage stage(scenario.output, std::string(scenario.name) + "_" + kind);
  const Stage::RunOutcome counted = stage.run({});
  ASSERT_EQ(counted.output, stage.target.full);
  const long count = counted.report.calls.at(kind);
  if (count == 0) GTEST_SKIP() << "the run makes no call of this kind";
  int points = 0;
  int failing = 0;
  for (long n : sweptCalls(count)) {
    for (const std::string& action : actionsFor(kind, scenario.output)) {
      const Stage::RunOutcome swept = stage.run({kind, n, action});
      ++points;
      const std::string problem = endingProblem(
          stage.target, acceptedEndings(stage.target, swept.report), swept.result, swept.output);
      if (!problem.empty() && ++failing <= 10) {
        ADD_FAILURE() << scenario.name << " " << kind << " " << n << " " << action << " (on "
                      << swept.report.target << "): " << problem;
      }
    }
  }
  std::cout << "[ sweep    ] " << scenario.name << " " << kind << ": " << points
            << " fault points, " << failing << " failing" << std::endl;
  RecordProperty("faultPoints", points);
  EXPECT_EQ(failing, 0);
}

INSTANTIATE_TEST_SUITE_P(InProcess, CallSweepTest,
                         testing::Combine(testing::ValuesIn(kScenarios), testing::ValuesIn(kKinds)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  std::get<1>(info.param);
                         });

}  // namespace
