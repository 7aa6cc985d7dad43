#include "support/fault_expectation.h"

#include <csignal>

namespace {

std::string severe(int number, const std::string& text) {
  return "forrtl: severe (" + std::to_string(number) + "): " + text;
}

std::string onUnit(int unit, const std::string& name) {
  return ", unit " + std::to_string(unit) + ", file " + name;
}

// A run the fault did not touch: it ends as an undisturbed one.
std::vector<Ending> unharmed() {
  return {{.keeps = Keeps::Everything}};
}

// The diagnostic line for the output file refused with message `number`, in the words
// the user reads, written out here rather than taken from the catalogue under test.
std::string openRefusalLine(const SweepTarget& target, int number) {
  const char* text = "open failure";
  switch (number) {
    case 29:
      text = "file not found";
      break;
    case 9:
      text = "permission to access file denied";
      break;
    case 42:
      text = "no such device";
      break;
    case 10:
      text = "cannot overwrite existing file";
      break;
    case 43:
      text = "file name specification error";
      break;
    default:
      number = 30;
  }
  return severe(number, text + onUnit(target.unit, target.name));
}

int statusOf(const std::string& line) {
  return std::stoi(line.substr(line.find('(') + 1));
}

// True when the first `size` bytes of the whole output end at a record end.
bool atRecordEnd(const SweepTarget& target, size_t size) {
  if (target.recordBytes != 0) return size % target.recordBytes == 0;
  return size == 0 || (size >= 2 && target.full.compare(size - 2, 2, "\r\n") == 0);
}

std::string describe(const Ending& ending) {
  std::string text = ending.signal != 0 ? "death by signal " + std::to_string(ending.signal)
                                        : "status " + std::to_string(ending.status);
  text += ending.line.empty() ? ", nothing on standard error"
                              : ", \"" + ending.line + (ending.linePrefix ? "...\"" : "\"");
  const char* keeps[] = {"the output untouched", "whole records", "the whole output"};
  return text + ", " + keeps[static_cast<int>(ending.keeps)];
}

}  // namespace

std::vector<Ending> signalEndings(const std::string& signal) {
  struct Row {
    const char* name;
    int status;
    const char* line;
  };
  static const Row kRows[] = {
      {"SIGSEGV", 157, "forrtl: severe (157): Program Exception - access violation"},
      {"SIGBUS", 158, "forrtl: severe (158): Program Exception - bus error"},
      {"SIGILL", 171, "forrtl: severe (171): Program Exception - illegal instruction"},
      // Sent by kill, the signal carries no exception code of its own.
      {"SIGFPE", 172, "forrtl: severe (172): Program Exception - exception code = 0x"},
      {"SIGINT", 0, "forrtl: error (200): program aborting due to control-C event"},
      {"SIGQUIT", 1, "forrtl: error (200): program aborting due to control-BREAK event"},
      {"SIGHUP", 2, "forrtl: error (200): program aborting due to window-CLOSE event"},
  };
  for (const Row& row : kRows) {
    if (signal != row.name) continue;
    std::vector<Ending> endings = {
        {.status = row.status, .line = row.line, .linePrefix = row.status == 172}};
    // A console event is taken by a thread of its own and may come after the run
    // has ended by itself.
    if (row.status < 3) endings.push_back(unharmed()[0]);
    return endings;
  }
  if (signal == "SIGTERM") return {{.status = -1, .signal = SIGTERM}, unharmed()[0]};
  return {};
}

std::vector<Ending> acceptedEndings(const SweepTarget& target, const InjectorReport& report) {
  if (!report.faulted) return unharmed();  // the run never made the planned call
  if (report.action.rfind("signal=", 0) == 0) return signalEndings(report.action.substr(7));
  // A call interrupted before it did anything is made again.
  if (report.action == "short" || report.action == "EINTR") return unharmed();
  bool input =
      !report.target.empty() && (report.target == target.mesh || report.target == target.blocks);
  bool output = report.target == target.name ||
                (target.name == "stdout" && report.fd == 1 && report.kind == "write");
  const std::string& kind = report.kind;
  if (kind == "alloc") {
    std::vector<Ending> endings = unharmed();
    endings.push_back({.status = 41, .line = severe(41, "insufficient virtual memory")});
    for (const std::string& file : {target.mesh, target.blocks}) {
      if (file.empty()) continue;
      endings.push_back(
          {.status = 98,
           .line = severe(
               98, "cannot allocate memory for the file buffer - out of memory" + onUnit(1, file)),
           .keeps = Keeps::Untouched});
    }
    return endings;
  }
  if (input && kind == "open") {
    std::string typed = report.target == target.mesh ? target.meshTyped : target.blocksTyped;
    return {{.keeps = Keeps::Untouched, .out = " File " + typed + " not found.\r\n"}};
  }
  if (input && (kind == "read" || kind == "close")) {
    int number = kind == "read" ? 39 : 28;
    std::string text = kind == "read" ? "error during read" : "CLOSE error";
    return {{.status = number,
             .line = severe(number, text + onUnit(1, report.target)),
             .keeps = Keeps::Untouched}};
  }
  if (output && kind == "open") {
    std::string line = openRefusalLine(target, report.openNumber);
    return {{.status = statusOf(line), .line = line, .keeps = Keeps::Untouched}};
  }
  if (output && (kind == "write" || kind == "ftruncate")) {
    return {{.status = 38,
             .line = severe(38, "error during write" + onUnit(target.unit, target.name))}};
  }
  if (output && kind == "close") {
    return {{.status = 28, .line = severe(28, "CLOSE error" + onUnit(target.unit, target.name))}};
  }
  // The fault landed on a file the run does not own, such as standard error.
  return unharmed();
}

std::string outputProblem(const SweepTarget& target, const std::string& output) {
  const std::string& full = target.full;
  const std::string& old = target.old;
  if (output == old) return "";
  size_t same = 0;
  while (same < output.size() && same < full.size() && output[same] == full[same]) ++same;
  if (same == output.size()) {
    if (atRecordEnd(target, same)) return "";
    return std::to_string(output.size()) + " bytes that end in a partial record";
  }
  // Back to the start of the record where the output goes astray.
  while (same > 0 && !atRecordEnd(target, same)) --same;
  std::string at = std::to_string(same);
  if (output.size() == old.size() && output.compare(same, std::string::npos, old, same) == 0) {
    return "the old content left behind the new records from byte " + at;
  }
  // Bytes that repeat earlier ones: a hand-over made twice.
  size_t earlier = same > 0 ? full.rfind(output.substr(same, 4096), same - 1) : std::string::npos;
  if (earlier != std::string::npos) {
    return "records duplicated: from byte " + at + " the " + std::to_string(same - earlier) +
           " bytes before it come again";
  }
  if (same == full.size()) return "bytes past the whole output from byte " + at;
  return "bytes that differ from the whole output from byte " + at;
}

std::string endingProblem(const SweepTarget& target, const std::vector<Ending>& endings,
                          const RunResult& run, const std::string& output) {
  bool onStdout = target.name == "stdout";
  std::string first = firstLine(run.err);
  std::string problem = outputProblem(target, output);
  for (const Ending& ending : endings) {
    bool ends = ending.signal != 0 ? run.termSignal == ending.signal
                                   : run.termSignal == 0 && run.status == ending.status;
    bool says = ending.line.empty()
                    ? run.err.empty()
                    : (ending.linePrefix ? first.rfind(ending.line, 0) == 0 : first == ending.line);
    bool keeps = ending.keeps == Keeps::Untouched    ? output == target.old
                 : ending.keeps == Keeps::Everything ? output == target.full
                                                     : problem.empty();
    if (ends && says && keeps && (onStdout || run.out == ending.out)) return "";
  }
  std::string seen = run.killed            ? "still running after the time allowed: killed"
                     : run.termSignal != 0 ? "death by signal " + std::to_string(run.termSignal)
                                           : "status " + std::to_string(run.status);
  seen += run.err.empty() ? ", nothing on standard error" : ", \"" + first + "\"";
  if (!onStdout && !run.out.empty()) seen += ", \"" + firstLine(run.out) + "\" on standard output";
  seen += output == target.old    ? ", the output untouched"
          : output == target.full ? ", the whole output"
          : problem.empty()       ? ", " + std::to_string(output.size()) + " bytes of whole records"
                                  : ", output: " + problem;
  std::string accepted;
  for (const Ending& ending : endings) accepted += "\n    or " + describe(ending);
  return seen + "\n  accepted: " + accepted.substr(7);
}
