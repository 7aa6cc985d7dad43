// How a platform fills the table of system calls: one function per concern, each in a
// file pair of its own (`file_calls-posix.cc` and `file_calls-win32.cc`, and so on); the
// build picks the pair. Only `fill_system_calls.cc`, which makes the platform's table,
// calls the fill functions.
#pragma once

#include <cstddef>

#include "runtime/platform/system_calls.h"

/// Files, devices, standard streams and full paths.
void fillFileCalls(SystemCalls& table);

/// Memory: the C library's allocator (`memory_calls.cc`) and the platform's hint below.
void fillMemoryCalls(SystemCalls& table);

/// Asks that the pages of a large block be large ones, where the system offers that
/// without privileges (`memory_calls-posix.cc`, `memory_calls-win32.cc`).
void adviseLargePagesHere(void* memory, size_t bytes);

/// Memory for a block of kLargeAllocation bytes or more, given back with std::free:
/// where the system has large pages, whole ones, asked for, so that filling the block
/// takes a page fault per large page rather than per page.
void* allocateLargeHere(size_t bytes);

/// The environment, the command line, time, threads, events and the end of the process.
void fillProcessCalls(SystemCalls& table);

/// Walking the call stack and naming its frames.
void fillStackCalls(SystemCalls& table);
