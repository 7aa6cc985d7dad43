// What ends a companion program from outside its work: a console event, a terminating
// signal, a processor fault, and, met by the run-time layer while the program reads its
// inputs, a failure that the run-time ends the run for.
#pragma once

#include "companion/companion_failure.h"

#include "runtime/diagnostics/failure.h"

/// A program's own words for a failure that the run-time layer ended the run for while
/// the program's work was under way: memory refused to one of its lists.
using RunFailureWords = CompanionFailure (*)(const Failure& failure);

/// Takes every failure that ends the run from the run-time layer, in place of its own
/// diagnostics, for the program named `program`: an interrupt ends it with the line
/// "interrupted" and a fault with "internal fault: ...", both with kFailureStatus; a
/// terminating signal ends it by that signal, silently; a failure of its work is written
/// as `words` says. Each removes the unfinished output first. Call before startRuntime.
void installCompanionFailureHandler(const char* program, RunFailureWords words);

/// Makes `path` the unfinished output that an end by an event or a run-time failure
/// removes (nullptr: none). It is kept in a fixed array, so that a handler inside a
/// signal handler can remove it; one output at a time.
void setUnfinishedOutput(const char* path);
