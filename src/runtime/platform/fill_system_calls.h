// How a platform fills the table of system calls: one function per concern, each in a
// file pair of its own (`file_calls-posix.cc` and `file_calls-win32.cc`, and so on); the
// build picks the pair. Only `system_calls.cc` calls these.
#pragma once

#include "runtime/platform/system_calls.h"

/// Files, devices, standard streams and full paths.
void fillFileCalls(SystemCalls& table);

/// Memory.
void fillMemoryCalls(SystemCalls& table);

/// The environment, the command line, time, threads, events and the end of the process.
void fillProcessCalls(SystemCalls& table);

/// Walking the call stack and naming its frames.
void fillStackCalls(SystemCalls& table);
