// The run sequence of a model build.
#pragma once

#include <atomic>

#include "runtime/diagnostics/failure.h"

/// The steps of a model build, each on a file of its own.
enum class BuildStep { Mesh, Blocks, Model };

/// Reads the mesh, paints the blocks and writes the model, each name a 200-character
/// blank-padded buffer. Returns no failure once the model is written; else the first
/// failure, with the step it came from in `failedStep`: an input file that cannot be
/// opened (isOpenRefusal) when nothing has been written, a read, memory, open, write or
/// close failure, or the stop that `stop` asks for between pieces of the model. Whatever
/// the outcome, every file the build opened is closed (unless the run is ending on another
/// thread, which then has them), an existing model file is left untouched by a failure
/// before the model file opens and keeps whole records after, and the memory the build
/// took is given back.
Failure buildModel(const char* meshName, const char* blockName, const char* modelName,
                   BuildStep* failedStep = nullptr, const std::atomic<bool>* stop = nullptr);
