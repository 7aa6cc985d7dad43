#include "app/build_model.h"

#include <new>

#include "app/console_texts.h"
#include "mesh/read_mesh.h"
#include "model/blocks/read_blocks.h"
#include "model/paint/write_model.h"
#include "runtime/environment/command_line.h"
#include "runtime/memory/allocate_array.h"
#include "runtime/process/stop_run.h"

void buildModel(const char* meshName, const char* blockName, const char* modelName) {
  // This function never returns, so the mesh and the blocks live until the process ends.
  // The mesh, with its tables of a few hundred kilobytes, is kept off the stack: under a
  // limit on the address space, a stack that cannot grow ends the run with a fault rather
  // than a message.
  Mesh& mesh = *new (allocateArray({1}, sizeof(Mesh))) Mesh;
  BlockPlan plan;
  if (!readMesh(meshName, kNameLength, mesh)) {
    reportMissingInput(meshName, kNameLength);
    stopRun();
  }
  if (!readBlocks(blockName, kNameLength, mesh, plan)) {
    reportMissingInput(blockName, kNameLength);
    stopRun();
  }
  writeModel(modelName, kNameLength, mesh, plan);
  stopRun();
}
