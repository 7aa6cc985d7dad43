// For tests: a read connection over a temporary file with a given text.
#pragma once

#include <fcntl.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

#include "runtime/connections/connection.h"

/// For tests: writes `text` to a new temporary file and opens it as unit 1 for reading.
/// The file is removed, and the descriptor closed if still open, at destruction.
struct TextConnection {
  explicit TextConnection(std::string_view text,
                          TerminatorKind terminator = TerminatorKind::Normal) {
    const char* dir = std::getenv("TMPDIR");
    path = std::string(dir != nullptr && *dir != '\0' ? dir : "/tmp") + "/freeform_XXXXXX";
    const int fd = mkstemp(path.data());
    if (fd >= 0) {
      size_t written = 0;
      while (written < text.size()) {
        const ssize_t n = write(fd, text.data() + written, text.size() - written);
        if (n <= 0) break;
        written += static_cast<size_t>(n);
      }
      close(fd);
    }
    connection.unit = 1;
    std::strncpy(connection.fileName, path.c_str(), kMaxFileName);
    connection.terminator = terminator;
    connection.fd = open(path.c_str(), O_RDONLY);
  }
  ~TextConnection() {
    if (connection.fd >= 0) close(connection.fd);
    unlink(path.c_str());
  }
  TextConnection(const TextConnection&) = delete;
  TextConnection& operator=(const TextConnection&) = delete;

  std::string path;
  Connection connection;
};

/// For tests: sets the environment switch `name` to `value` for its lifetime.
struct ScopedSwitch {
  ScopedSwitch(const char* name, const char* value) : name(name) {
    if (const char* old = std::getenv(name)) previous = old;
    setenv(name, value, 1);
  }
  ~ScopedSwitch() {
    if (previous) {
      setenv(name, previous->c_str(), 1);
    } else {
      unsetenv(name);
    }
  }
  ScopedSwitch(const ScopedSwitch&) = delete;
  ScopedSwitch& operator=(const ScopedSwitch&) = delete;

  const char* name;
  std::optional<std::string> previous;
};

/// For tests: keeps the diagnostics of runs that end on purpose off standard error.
struct QuietDiagnostics {
  ScopedSwitch display{"FOR_DISABLE_DIAGNOSTIC_DISPLAY", "1"};
  ScopedSwitch listing{"FOR_DISABLE_STACK_TRACE", "1"};
};
