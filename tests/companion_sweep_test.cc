// Fault sweeps in-process over the companion programs: boxpaint-view writing a grid and a
// picture over older files, and boxpaint-check writing its report, each counted call by
// call through the run-time's table of system calls, then made once more for every open,
// read, write, close, rename and allocation it makes, with that one call failing (for each
// reason a sweep names), interrupted, or coming up short. Every such run must end with
// status 0 and the whole output, or with status 1 and a message on standard error that
// begins with the program's name, the older output untouched, and no file of its own
// left behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <new>
#include <random>
#include <set>

#include "check/program/check_failure.h"
#include "check/program/run_check.h"
#include "companion/end_program.h"
#include "runtime/ending/failure_handler.h"
#include "runtime/environment/command_line.h"
#include "runtime/platform/file_transfers.h"
#include "runtime/process/test_end_hook.h"
#include "support/call_faults.h"
#include "support/file_content.h"
#if defined(BOXPAINT_SWEEP_VIEW)
#include "model_files/view_failure.h"
#include "view/program/run_view.h"
#endif

namespace {

namespace fs = std::filesystem;

// A model of 6 x 5 x 4 cells, each of a value of its own, and a block file over it.
constexpr char kMesh[] = "6 5 4\n500000. 6100000. 200.\n6*50.\n5*40.\n4*25.\n";
constexpr char kBlocks[] =
    "1.5\n2\n500000. 500150.  6100000. 6100120.  200. 150.  10.\n"
    "500100. 500300.  6100040. 6100200.  175. 100.  100.\n";

std::string modelText() {
  std::string text;
  for (int cell = 0; cell < 6 * 5 * 4; ++cell) {
    char record[32];
    std::snprintf(record, sizeof record, "%10.3E\r\n", 1 + cell * 0.37);
    text += record;
  }
  return text;
}

// One program's run in a scenario.
struct Scenario {
  const char* name;
  const char* program;                 // its name, which its messages begin with
  std::vector<std::string> arguments;  // after the program's name
  const char* output;                  // the file it writes; nullptr: standard output
  void (*install)();                   // takes the run-time's failures, as its main does
  CompanionFailure (*run)(int, const char* const*);
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
  *out << scenario.name;
}

const Scenario kScenarios[] = {
#if defined(BOXPAINT_SWEEP_VIEW)
    {"viewGrid",
     kViewProgram,
     {"mesh.txt", "model.txt", "out.vtr"},
     "out.vtr",
     installViewFailureHook,
     runView},
    {"viewPicture",
     kViewProgram,
     {"mesh.txt", "model.txt", "out.png", "--slice", "e=2"},
     "out.png",
     installViewFailureHook,
     runView},
#endif
    {"checkText",
     kCheckProgram,
     {"mesh.txt", "blocks.inp"},
     nullptr,
     installCheckFailureHandler,
     runCheck},
    {"checkJson",
     kCheckProgram,
     {"mesh.txt", "blocks.inp", "model.txt", "--json"},
     nullptr,
     installCheckFailureHandler,
     runCheck},
};

// What one run did.
struct Outcome {
  int status = -1;
  std::string out, err, output;
  std::set<std::string> files;  // what the folder holds afterwards
  InjectorReport report;
};

// A scenario laid out in a folder of its own, with the output of an undisturbed run.
struct Stage {
  const Scenario& scenario;
  fs::path dir;
  std::string old = "an older output, to be kept whole or replaced whole\n";
  Outcome plain;

  Stage(const Scenario& chosen, const std::string& kind) : scenario(chosen) {
    dir = fs::temp_directory_path() / ("boxpaint_companion_sweep_" + std::string(chosen.name) +
                                       "_" + kind + "_" + std::to_string(std::random_device()()));
    fs::create_directories(dir);
    writeFileContent(dir / "mesh.txt", kMesh);
    writeFileContent(dir / "blocks.inp", kBlocks);
    writeFileContent(dir / "model.txt", modelText());
    plain = run({});
  }

  ~Stage() {
    std::error_code ignored;
    fs::remove_all(dir, ignored);
  }

  // One run in-process with the fault `plan`, the older output put back first.
  Outcome run(const CallFaultPlan& plan) const {
    if (scenario.output != nullptr) writeFileContent(dir / scenario.output, old);
    const fs::path outPath = dir.string() + ".out";
    const fs::path errPath = dir.string() + ".err";
    SystemError error = 0;
    const FileHandle out = openFileRetrying(outPath.string().c_str(), OpenIntent::Write, &error);
    const FileHandle err = openFileRetrying(errPath.string().c_str(), OpenIntent::Write, &error);
    std::vector<std::string> words = {scenario.program};
    // The files by their full names, the options as they stand.
    for (const std::string& argument : scenario.arguments) {
      const bool file = argument.find('.') != std::string::npos && !argument.starts_with("-");
      words.push_back(file ? (dir / argument).string() : argument);
    }
    std::vector<const char*> argv;
    for (const std::string& word : words) argv.push_back(word.c_str());
    const int argc = static_cast<int>(argv.size());
    Outcome outcome;
    {
      CallFaults faults(plan, out, err, {});
      faults.arm();
      outcome.status = endStatusOf([&] {
        scenario.install();
        setCommandLine(argc, argv.data());
        endProgram(scenario.program, scenario.run(argc, argv.data()));
      });
      outcome.report = faults.report();
    }
    setFailureHandler(nullptr);
    closeFileOnce(out, &error);
    closeFileOnce(err, &error);
    outcome.out = fileContent(outPath);
    outcome.err = fileContent(errPath);
    fs::remove(outPath);
    fs::remove(errPath);
    if (scenario.output != nullptr) outcome.output = fileContent(dir / scenario.output);
    for (const auto& entry : fs::directory_iterator(dir)) {
      outcome.files.insert(entry.path().filename().string());
    }
    return outcome;
  }

  // Empty when `swept` ended as a run may; else what is wrong with it.
  std::string problem(const Outcome& swept) const {
    std::set<std::string> files = {"mesh.txt", "blocks.inp", "model.txt"};
    if (scenario.output != nullptr) files.insert(scenario.output);
    if (swept.files != files) {
      std::string names;
      for (const std::string& name : swept.files) names += " " + name;
      return "it left other files behind:" + names + " (status " + std::to_string(swept.status) +
             ", " + swept.err + ")";
    }
    if (swept.status == 0) {
      if (!swept.err.empty()) return "it succeeded with a message: " + swept.err;
      if (scenario.output != nullptr && swept.output != plain.output) {
        return "it succeeded with another output";
      }
      if (scenario.output == nullptr && swept.out != plain.out) return "it reported otherwise";
      return "";
    }
    if (swept.status != 1) return "it ended with status " + std::to_string(swept.status);
    if (scenario.output != nullptr && swept.output != old) return "the older output changed";
    const std::string prefix = std::string(scenario.program) + ": ";
    const size_t end = swept.err.find('\n');
    if (!swept.err.starts_with(prefix) || end == std::string::npos || end <= prefix.size()) {
      return "it failed without a message: '" + swept.err + "'";
    }
    if (scenario.output != nullptr && end + 1 != swept.err.size()) {
      return "its message is more than one line: " + swept.err;
    }
    return "";
  }
};

const std::string kKinds[] = {"write", "read", "close", "open", "rename", "alloc"};

std::vector<std::string> actionsFor(const std::string& kind) {
  if (kind == "write") return {"DiskFull", "Io", "Interrupted", "short"};
  if (kind == "read") return {"Io", "Interrupted", "short"};
  if (kind == "close" || kind == "rename") return {"Io", "AccessDenied"};
  if (kind == "open") return openFaultActions();
  return {"NoMemory"};
}

class CompanionSweepTest : public testing::TestWithParam<std::tuple<Scenario, std::string>> {
 protected:
  void SetUp() override { previous = std::set_new_handler(refuseMemoryAsTheProgramsDo); }
  void TearDown() override { std::set_new_handler(previous); }
  std::new_handler previous = nullptr;
};

TEST_P(CompanionSweepTest, EveryCallFaultedOnceEndsWholeOrWithAMessage) {
  const auto& [scenario, kind] = GetParam();
  const Stage stage(scenario, kind);
  ASSERT_EQ(stage.plain.status, 0) << stage.plain.err;
  ASSERT_EQ(stage.problem(stage.plain), "");
  const long count = stage.plain.report.calls.at(kind);
  if (count == 0) GTEST_SKIP() << "the run makes no call of this kind";
  int points = 0;
  int failing = 0;
  for (long n = 1; n <= count; ++n) {
    for (const std::string& action : actionsFor(kind)) {
      const Outcome swept = stage.run({kind, n, action});
      ++points;
      const std::string problem = stage.problem(swept);
      if (!problem.empty() && ++failing <= 10) {
        ADD_FAILURE() << scenario.name << " " << kind << " " << n << " " << action << " (on "
                      << swept.report.target << "): " << problem;
      }
    }
  }
  std::cout << "[ sweep    ] " << scenario.name << " " << kind << ": " << points
            << " fault points, " << failing << " failing" << std::endl;
  EXPECT_EQ(failing, 0);
}

INSTANTIATE_TEST_SUITE_P(InProcess, CompanionSweepTest,
                         testing::Combine(testing::ValuesIn(kScenarios), testing::ValuesIn(kKinds)),
                         [](const auto& info) {
                           return std::string(std::get<0>(info.param).name) + "_" +
                                  std::get<1>(info.param);
                         });

}  // namespace
