// How a run with one injected fault may end, and the check of what it left behind.
#pragma once

#include <string>
#include <vector>

#include "support/injector_report.h"
#include "support/run_result.h"

/// What a swept run reads and writes, and what an undisturbed run makes.
struct SweepTarget {
  std::string mesh, blocks;            // full paths of the input files ("" for none)
  std::string meshTyped, blocksTyped;  // the same as named on the command line
  int unit = 2;                        // the output's unit: 2 model, -1 console
  std::string name;                    // its file name in messages: a full path or "stdout"
  std::string full;                    // the whole output of an undisturbed run
  std::string old;                     // what the output file held before the run
  size_t recordBytes = 12;             // bytes per record; 0: CR LF ended records
};

/// What the output may hold at the end of a run.
enum class Keeps {
  Untouched,     // exactly what it held before
  WholeRecords,  // only whole records that begin the whole output, or untouched
  Everything,    // the whole output
};

/// One way a faulted run may end.
struct Ending {
  int status = 0;           // the exit status, when no signal ends the process
  int signal = 0;           // the signal that ends it, else 0
  std::string line;         // standard error's first line; empty: nothing on it
  bool linePrefix = false;  // `line` need only begin the first line
  Keeps keeps = Keeps::WholeRecords;
  std::string out;  // standard output, when the output is not standard output
};

/// The endings that a run may come to when the call `report` names was faulted.
std::vector<Ending> acceptedEndings(const SweepTarget& target, const InjectorReport& report);

/// The endings of a run that sends itself `signal` (a name such as "SIGSEGV").
std::vector<Ending> signalEndings(const std::string& signal);

/// Empty when `output` holds only whole records that begin the whole output (or the
/// untouched old content); else what is wrong with it, for a failure message.
std::string outputProblem(const SweepTarget& target, const std::string& output);

/// Empty when the run ended as one of `endings` with `output` in the output file; else
/// what it did, against what was accepted.
std::string endingProblem(const SweepTarget& target, const std::vector<Ending>& endings,
                          const RunResult& run, const std::string& output);
