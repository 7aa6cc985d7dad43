// For tests: a read connection over a temporary file with a given text.
#pragma once

#include <atomic>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "runtime/connections/connection.h"
#include "runtime/platform/system_calls.h"

/// For tests: writes `text` to a new temporary file and opens it as unit 1 for reading.
/// The file is removed, and the descriptor closed if still open, at destruction.
struct TextConnection {
  explicit TextConnection(std::string_view text,
                          TerminatorKind terminator = TerminatorKind::Normal) {
    static std::atomic<int> made{0};
    path = (std::filesystem::temp_directory_path() /
            ("freeform_" + std::to_string(reinterpret_cast<uintptr_t>(this)) + "_" +
             std::to_string(made++)))
               .string();
    std::ofstream(path, std::ios::binary) << text;
    connection.unit = 1;
    std::strncpy(connection.fileName, path.c_str(), kMaxFileName);
    connection.terminator = terminator;
    SystemError error = 0;
    connection.fd = systemCalls().openFile(path.c_str(), OpenIntent::Read, &error);
  }
  ~TextConnection() {
    SystemError error = 0;
    if (connection.fd != kNoFile) systemCalls().closeFile(connection.fd, &error);
    std::error_code ignored;
    std::filesystem::remove(path, ignored);
  }
  TextConnection(const TextConnection&) = delete;
  TextConnection& operator=(const TextConnection&) = delete;

  std::string path;
  Connection connection;
};

/// For tests: sets the environment switch `name` to `value` for its lifetime, through the
/// table of system calls, so that the process's environment stays as it is.
struct ScopedSwitch {
  ScopedSwitch(const char* name, const char* value) {
    settings().emplace_back(name, value);
    systemCalls().environmentValue = switchedValue;
  }
  ~ScopedSwitch() {
    settings().pop_back();
    if (settings().empty()) systemCalls().environmentValue = platformSystemCalls().environmentValue;
  }
  ScopedSwitch(const ScopedSwitch&) = delete;
  ScopedSwitch& operator=(const ScopedSwitch&) = delete;

  /// The switches set, the latest last.
  static std::vector<std::pair<std::string, std::string>>& settings() {
    static std::vector<std::pair<std::string, std::string>> set;
    return set;
  }
  static const char* switchedValue(const char* name) {
    for (auto setting = settings().rbegin(); setting != settings().rend(); ++setting) {
      if (setting->first == name) return setting->second.c_str();
    }
    return platformSystemCalls().environmentValue(name);
  }
};

/// For tests: keeps the diagnostics of runs that end on purpose off standard error.
struct QuietDiagnostics {
  ScopedSwitch display{"FOR_DISABLE_DIAGNOSTIC_DISPLAY", "1"};
  ScopedSwitch listing{"FOR_DISABLE_STACK_TRACE", "1"};
};
