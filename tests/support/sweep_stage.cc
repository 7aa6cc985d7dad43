#include "support/sweep_stage.h"

#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <sstream>

#include "support/fifo_reader.h"
#include "support/sweep_inputs.h"

namespace {

constexpr int kKillAfterMs = 20000;  // a run that hangs is a failure, not a stuck test

// The swept model's mesh and block files.
void writeModelInputs(const TempDir& dir) {
  int ne, nn, nz;
  sweptMeshCounts(ne, nn, nz);
  dir.write("mesh.txt", sweptMeshText(ne, nn, nz));
  dir.write("blocks.inp", sweptBlockText(ne, nn, nz));
}

}  // namespace

SweepStage::SweepStage(SweepOutput kind) : output(kind) {
  // The run names its files by the directory it works in as the system gives it, links
  // resolved: so does the injector's report.
  std::string real = std::filesystem::canonical(dir.path()).string() + "/";
  if (kind == SweepOutput::Stdout || kind == SweepOutput::PrintFile) {
    args = {"-inp"};
    target.unit = -1;
    target.recordBytes = 0;
    target.name = "stdout";
    if (kind == SweepOutput::PrintFile) {
      env = {"FOR_PRINT=print.txt"};
      outputPath = dir.file("print.txt");
      target.name = real + "print.txt";
    }
    RunResult plain = runBoxpaint({.args = args, .setEnv = env, .directory = dir.path()});
    EXPECT_EQ(plain.status, 0) << plain.err;
    target.full = kind == SweepOutput::Stdout ? plain.out : readFile(outputPath);
  } else {
    writeModelInputs(dir);
    target.mesh = real + "mesh.txt";
    target.blocks = real + "blocks.inp";
    target.meshTyped = "mesh.txt";
    target.blocksTyped = "blocks.inp";
    RunResult plain =
        runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"}, .directory = dir.path()});
    EXPECT_EQ(plain.status, 0) << plain.err;
    target.full = readFile(dir.file("model.txt"));
    std::string name = kind == SweepOutput::FifoModel ? "model.fifo" : "model.txt";
    args = {"mesh.txt", "blocks.inp", name};
    outputPath = dir.file(name);
    target.name = real + name;
    if (kind == SweepOutput::FifoModel) mkfifo(outputPath.c_str(), 0600);
  }
  if (kind == SweepOutput::DiskModel || kind == SweepOutput::PrintFile) {
    // Longer than the new output, and not a whole number of its records.
    while (target.old.size() <= target.full.size()) target.old += "old content, to go\n";
  }
}

SweepRun SweepStage::run(const std::string& plan, long long stallAfter, int signal) const {
  if (!target.old.empty()) dir.write(outputPath.substr(dir.path().size() + 1), target.old);
  std::string report = dir.file("fault-report.txt");
  std::string fullMark = dir.file("fifo-full");
  unlink(report.c_str());
  unlink(fullMark.c_str());
  RunOptions options{.args = args, .setEnv = env, .directory = dir.path()};
  options.killAfterMs = kKillAfterMs;
  options.setEnv.push_back(std::string("LD_PRELOAD=") + faultInjectorPath());
  options.setEnv.push_back("BOXPAINT_FAULT_REPORT=" + report);
  if (!plan.empty()) options.setEnv.push_back("BOXPAINT_FAULT=" + plan);
  if (signal != 0) {
    options.signal = signal;
    options.signalWhenFile = fullMark;
  }
  std::optional<FifoReader> reader;
  if (output == SweepOutput::FifoModel) {
    reader.emplace(outputPath, stallAfter, kStallLimitMs, signal != 0 ? fullMark : "");
  }
  SweepRun swept;
  swept.run = runBoxpaint(options);
  swept.output = reader                          ? reader->finish()
                 : output == SweepOutput::Stdout ? swept.run.out
                                                 : readFile(outputPath);
  swept.stallRanOut = reader && reader->stallRanOut();
  swept.report = readInjectorReport(report);
  return swept;
}

std::string SweepStage::command(const std::string& plan) const {
  std::string text = plan.empty() ? "" : "BOXPAINT_FAULT=" + plan + " ";
  for (const std::string& e : env) text += e + " ";
  text += std::string("LD_PRELOAD=") + faultInjectorPath() + " " + BOXPAINT_EXE;
  for (const std::string& a : args) text += " " + a;
  return text;
}

std::map<std::string, long> SweepStage::countCalls() const {
  SweepRun counted = run("");
  EXPECT_EQ(counted.run.status, 0) << counted.run.err;
  EXPECT_EQ(counted.output, target.full);
  EXPECT_FALSE(counted.report.calls.empty()) << "the fault injector wrote no report";
  return counted.report.calls;
}
