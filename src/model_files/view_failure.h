// boxpaint-view's one-line errors for what the run-time layer finds while it reads its
// inputs, and how the program takes the failures that the run-time ends its run for.
#pragma once

#include <cstdint>
#include <string>

#include "companion/companion_failure.h"
#include "companion/exit_status.h"
#include "runtime/diagnostics/failure.h"

/// The name every one-line error of boxpaint-view begins with.
constexpr char kViewProgram[] = "boxpaint-view";

/// Routes every failure that ends the run through boxpaint-view's one-line errors, in
/// place of the run-time layer's own diagnostics, and reads the inputs with the normal
/// record ends, whatever terminator they were written with. Call before the run-time
/// layer starts.
void installViewFailureHook();

/// The failure of reading `fileName` (as the user named it) that the run-time layer
/// returned: one line naming the file, and the record where a value could not be read.
CompanionFailure viewFailureOf(const Failure& failure, const char* fileName);

/// The failure for `name` when it names a device that boxpaint-view does not read or
/// write in a file's place: any device for the output; any but standard input (CONIN$),
/// which it reads as boxpaint does, for an input (`input`). No failure for a file's name.
CompanionFailure deviceRefusal(const char* name, bool input);

/// The one-line error (without the program prefix) for run-time message `number` met
/// while reading `fileName` at `line` (0: line unknown); `recordText`, when not empty,
/// is the text of that record.
std::string describeRuntimeFailure(int number, const char* fileName, int64_t line,
                                   const std::string& recordText);
