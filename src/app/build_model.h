// The run sequence of a model build.
#pragma once

#include <atomic>

#include "runtime/diagnostics/failure.h"

/// The steps of a model build, each on a file of its own.
enum class BuildStep { Mesh, Blocks, Model };

// What a build shares with the rest of the process, and so with a library's other calls:
// the table of connections (a build takes units 1 and 2 while it reads and writes, so that
// builds in one process run one at a time); the claim on the end of the run, which a
// build never makes (once another thread has claimed it, a build opens nothing more and
// stops at its next batch of records); the environment switches, read by the run-time as
// the files are opened (the record terminator once for the process) and at each
// diagnostic; and the table of system calls. They are the run-time's, kept process-wide
// because the end of the run, on any thread or in a signal handler, must find every open
// connection and know whether the end is already claimed.

/// Reads the mesh, paints the blocks and writes the model, each name a 200-character
/// blank-padded buffer. Returns no failure once the model is written; else the first
/// failure, with the step it came from in `failedStep`: an input file that cannot be
/// opened (isOpenRefusal) when nothing has been written, a read, memory, open, write or
/// close failure, or the stop that `stop` asks for between blocks or pieces of the model
/// (a stop while the blocks are read leaves the model file untouched). Whatever
/// the outcome, every file the build opened is closed (unless the run is ending on another
/// thread, which then has them), an existing model file is left untouched by a failure
/// before the model file opens and keeps whole records after, and the memory the build
/// took is given back.
Failure buildModel(const char* meshName, const char* blockName, const char* modelName,
                   BuildStep* failedStep = nullptr, const std::atomic<bool>* stop = nullptr);
