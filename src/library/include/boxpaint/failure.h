// How a call of the library fails: a value the caller reads, never the end of the process.
#pragma once

#include <cstdint>
#include <string>

namespace boxpaint {

/// A failed call: the number and text of boxpaint's message for it, and the file and
/// line where it was found, where known. A call that succeeds returns number 0.
struct Failure {
  int32_t number = 0;  // boxpaint's message number (29 file not found, 38 error during
                       // write, ...), one of the library's own below, or 0 for success
  std::string text;    // what went wrong, in the message's words
  std::string file;    // the file the call was reading or writing; empty where none
  int64_t line = 0;    // the line of `file` where it was found, from 1; 0 where unknown
};

/// True when `failure` says the call failed.
inline bool failed(const Failure& failure) {
  return failure.number != 0;
}

/// Message number of a call stopped by its caller's `CallControl`, as boxpaint's own
/// number for a run ended by control-C.
constexpr int32_t kStopped = 200;

/// Arguments the call cannot take: an array of the wrong length, a terminator of another
/// kind, and the like.
constexpr int32_t kBadArgument = -2;

/// A file the call cannot read or write as boxpaint-view or boxpaint-check needs it, where
/// boxpaint has no numbered message for the fault: a model file of another number of
/// records than the mesh has cells, or with a record that is not one number, an output
/// that cannot be made or written. The text says which, as those programs say it.
constexpr int32_t kFileFailure = -3;

/// What a caller may do while a long call works: stop it between two of its pieces.
struct CallControl {
  /// Called on the calling thread between pieces of the work (about a million cells or
  /// records each); false stops the call, which then fails with kStopped.
  bool (*keepGoing)(void* context) = nullptr;
  void* context = nullptr;  // handed to keepGoing
};

}  // namespace boxpaint
