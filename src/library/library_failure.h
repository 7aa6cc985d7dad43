// The failures the library returns, made from boxpaint's numbered messages.
#pragma once

#include <cstdint>
#include <new>
#include <string>

#include "boxpaint/failure.h"
#include "companion/companion_failure.h"
#include "runtime/diagnostics/failure.h"

/// The failure of message `number` (its text from boxpaint's catalogue), found in `file`
/// at `line` where they are given.
boxpaint::Failure messageFailure(int32_t number, std::string file = {}, int64_t line = 0);

/// The library's failure for `failure`, one the internal libraries return (none for none).
boxpaint::Failure runFailure(const Failure& failure);

/// The library's failure for `failure`, one the companions' work returns: the run-time's
/// message number where it has one, else kFileFailure, with its one-line text (none for
/// none).
boxpaint::Failure companionFailure(const CompanionFailure& failure);

/// The failure of a file name the system cannot take as given (a NUL in it), else none.
boxpaint::Failure nameFailure(const std::string& path);

/// A failure for arguments the call cannot take; `text` says what is wrong with them.
boxpaint::Failure badArgument(std::string text);

/// The failure of a call stopped by its caller.
boxpaint::Failure stoppedFailure();

/// The failure of a file name longer than the 200 characters boxpaint takes a name in,
/// which it would cut, else none.
boxpaint::Failure nameLengthFailure(const std::string& path);

/// True unless the caller's `control` says to stop.
inline bool keepGoing(const boxpaint::CallControl* control) {
  return control == nullptr || control->keepGoing == nullptr ||
         control->keepGoing(control->context);
}

/// Runs `body`, which returns a Failure; memory refused to a container on the way is
/// message 41, as boxpaint reports it, rather than an exception.
template <typename Body>
boxpaint::Failure failingOnMemory(Body body) {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return messageFailure(41);
  }
}
