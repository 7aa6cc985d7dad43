// How boxpaint-check fails when reading stops: it says where, and what boxpaint would
// have said there, instead of boxpaint's own diagnostic.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "check/program/reading_stop.h"
#include "check/reading/block_lines.h"
#include "companion/companion_failure.h"
#include "runtime/diagnostics/failure.h"

/// The name every error of boxpaint-check begins with.
constexpr char kCheckProgram[] = "boxpaint-check";

/// Takes every failure that ends the run from the run-time layer: memory refused to a
/// list, an event. Call before startRuntime.
void installCheckFailureHandler();

/// Makes the failures that the run-time layer ends the run for carry the JSON error object
/// too (--json).
void setFailureJson(bool json);

/// What was being read when reading stopped.
struct ReadingPlace {
  std::string file;            // the file as the user named it
  const char* part = nullptr;  // what of it ("the background and the number of blocks");
                               // nullptr: nothing in particular
  int32_t block = 0;           // the block being read, from 1; 0: none
  int32_t blockCount = 0;      // of how many
  int64_t blockRecord = 0;     // the record its statement began on
  std::span<const BlockLines> blocksRead;  // the lines of each block read before it
};

/// The failure of a check whose reading stopped with the run-time's `failure` at `place`:
/// where it stopped, the text of the line, what made it so, and the line boxpaint prints;
/// for a file that cannot be opened, the line boxpaint prints then. With `json` the JSON
/// error object too.
CompanionFailure readingFailure(const Failure& failure, const ReadingPlace& place, bool json);

/// The failure for the input `file` when it names a device that boxpaint would read in a
/// file's place (CON, NUL ...): what it is, and that boxpaint reads it instead; standard
/// input (CONIN$) is read as boxpaint reads it. No failure for a file's name.
CompanionFailure inputDeviceRefusal(const std::string& file, bool json);

/// The failure of a check that stopped as `stop` says: its report on standard error, and
/// with `json` the JSON error object for standard output; `number` is the run-time's
/// message number, where it has one.
CompanionFailure readingStopFailure(const ReadingStop& stop, bool json, int32_t number);
