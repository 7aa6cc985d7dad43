// The lock that lets the library's calls that open files run one at a time.
#pragma once

#include <mutex>

/// Held by a call that opens files for its whole length: the run-time keeps one table of
/// open files and one state of the run's end for the whole process.
struct FileCallLock {
  FileCallLock();
  ~FileCallLock();
  FileCallLock(const FileCallLock&) = delete;
  FileCallLock& operator=(const FileCallLock&) = delete;
};
