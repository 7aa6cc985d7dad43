// The runs of a fault sweep: a scenario laid out in a temporary directory, run with the
// fault injector preloaded and one planned fault.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/fault_expectation.h"
#include "support/injector_report.h"
#include "support/run_boxpaint.h"
#include "support/sweep_inputs.h"

/// How long the reader of a FIFO stalls before it drains again: a console event must
/// end a run blocked on it well before.
constexpr int kStallLimitMs = 3000;

/// Where a scenario's output goes.
enum class SweepOutput {
  DiskModel,  // a model file replacing an older, longer one
  FifoModel,  // a model written to a FIFO that a reader drains
  Stdout,     // the sample input file (`-inp`) on standard output, a pipe
  PrintFile,  // the sample input file in the FOR_PRINT file, replacing an older one
};

/// What one swept run did.
struct SweepRun {
  RunResult run;
  std::string output;  // the bytes of the output: file, FIFO or standard output
  InjectorReport report;
  bool stallRanOut = false;  // the FIFO's reader stalled to its limit
};

/// A scenario laid out in a temporary directory, with the output of an undisturbed run.
struct SweepStage {
  TempDir dir;
  SweepOutput output;
  SweepTarget target;
  std::vector<std::string> args;
  std::vector<std::string> env;
  std::string outputPath;  // the model, FIFO or print file; empty for standard output

  /// Writes the inputs (a model of a few MiB; larger for the full sweep, or as
  /// BOXPAINT_SWEEP_MESH="NE NN NZ" says) and makes the output once undisturbed.
  explicit SweepStage(SweepOutput kind);

  /// One run with the fault `plan` (none when empty), the output file put back as it
  /// was first. With `stallAfter` >= 0 the FIFO's reader stalls once it holds that many
  /// bytes, and `signal` is sent once the FIFO is then full: the run waits in a write.
  SweepRun run(const std::string& plan, long long stallAfter = -1, int signal = 0) const;

  /// How to make the run again by hand, in a directory laid out like this one.
  std::string command(const std::string& plan) const;

  /// How many calls of each kind an undisturbed run makes, from a counting run.
  std::map<std::string, long> countCalls() const;
};
