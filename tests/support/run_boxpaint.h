// End-to-end test support: runs the real boxpaint executable as a child process
// and collects what it leaves behind.
#pragma once

#include <sys/resource.h>

#include <string>
#include <vector>

#include "support/run_result.h"

/// How to start one run.
struct RunOptions {
  std::vector<std::string> args;      // after the program name
  std::vector<std::string> setEnv;    // "NAME=value", added to the environment
  std::vector<std::string> unsetEnv;  // names removed from the environment
  std::string directory;              // working directory; empty keeps the current one
  std::string input;                  // bytes on standard input
  bool closeStdout = false;           // start with descriptor 1 closed
  std::string stdoutFile;             // standard output is this file, cut to nothing first
  bool stdoutAppends = false;         // ... or opened for appending
  bool ignoreSigxfsz = false;         // start with SIGXFSZ ignored
  std::vector<int> ignoredSignals;    // start with these signals ignored
  int fileSizeLimit = -1;             // RLIMIT_FSIZE in bytes when >= 0
  long long addressSpaceLimit = -1;   // RLIMIT_AS in bytes when >= 0
  int signalAfterMs = -1;             // send `signal` this long after the start
  std::string signalWhenFile;         // or once this file holds `signalWhenBytes` bytes
  long long signalWhenBytes = 0;
  int signal = 0;
  std::string signalWhenOpen;      // or once the run holds this (existing) file open
  bool leaveStdoutUnread = false;  // read standard output only once the run has ended
  bool nonblockingStdout = false;  // start with standard output non-blocking
  int readStdoutAfterMs = 0;       // leave standard output unread this long at the start
  int killAfterMs = -1;            // SIGKILL a run still going this long after the start
  std::string program;             // the executable to run instead of boxpaint
};

/// Runs the boxpaint executable with `options` and waits for it. When the environment
/// variable BOXPAINT_E2E_WRAPPER holds a command (such as "valgrind -q"), the executable
/// runs under it.
RunResult runBoxpaint(const RunOptions& options);

/// True when runs go through the BOXPAINT_E2E_WRAPPER command.
bool runsUnderWrapper();

/// A fresh temporary directory, removed with its content at the end of the test.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  /// The directory's path.
  const std::string& path() const { return path_; }
  /// The path of `name` inside the directory.
  std::string file(const std::string& name) const { return path_ + "/" + name; }
  /// Writes `content` to `name` inside the directory; returns its path.
  std::string write(const std::string& name, const std::string& content) const;

 private:
  std::string path_;
};

/// The whole content of the file at `path` ("" when it cannot be read).
std::string readFile(const std::string& path);

/// True when a file exists at `path`.
bool fileExists(const std::string& path);

/// The text of `records` each followed by CR LF.
std::string crlfRecords(const std::vector<std::string>& records);
