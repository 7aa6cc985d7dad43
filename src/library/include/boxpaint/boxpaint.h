// boxpaint as a library: reading meshes and block files, painting models, writing and
// reading model files, the check report and the VTK grid. The programs boxpaint,
// boxpaint-view and boxpaint-check and the Python module `boxpaint` do their work through
// the same internal libraries.
//
// Failures. A call returns a Failure (failure.h): 0 for success, else boxpaint's message
// number with its text and, where known, the file and line. No call ends the process,
// installs a signal handler or leaves a file open; a file written when a call fails or is
// stopped holds whole records (or lines) only.
//
// Threads. Any call may be made from any thread. Calls that work in memory only
// (makeMesh, cellCentres, modelCellCount, checkModelSize, paintModel, recordedValue,
// renderModelRecords)
// run in parallel with one another and with every other call. Calls that open files
// (readMesh, writeMesh, readBlocks, writeBlocks, writeModel, readModel, buildModel,
// checkReport, writeRectilinearGrid) run one at a time: each holds a lock of the library
// for its whole length, since the run-time under them keeps one table of open files and
// one state of the run's end for the whole process. A call may work on a second thread of
// its own; that thread has ended when the call returns.
#pragma once

#include "boxpaint/blocks.h"
#include "boxpaint/check.h"
#include "boxpaint/failure.h"
#include "boxpaint/grid.h"
#include "boxpaint/mesh.h"
#include "boxpaint/model.h"

namespace boxpaint {

/// The library's version, as "major.minor.patch": the programs' version.
const char* version();

}  // namespace boxpaint
