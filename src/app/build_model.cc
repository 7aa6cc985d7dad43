#include "app/build_model.h"

#include <memory>
#include <new>

#include "mesh/read_mesh.h"
#include "model/blocks/read_blocks.h"
#include "model/paint/write_model.h"
#include "runtime/environment/command_line.h"
#include "runtime/platform/system_calls.h"

namespace {

// Gives back a mesh read by readMesh and the memory it lies in.
struct MeshRelease {
  void operator()(Mesh* mesh) const {
    releaseMesh(*mesh);
    mesh->~Mesh();
    systemCalls().release(mesh);
  }
};

// The step that failed, told to the caller that asked.
Failure failedAt(BuildStep step, BuildStep* failedStep, const Failure& failure) {
  if (failedStep != nullptr) *failedStep = step;
  return failure;
}

}  // namespace

Failure buildModel(const char* meshName, const char* blockName, const char* modelName,
                   BuildStep* failedStep, const std::atomic<bool>* stop) {
  // The mesh, with its tables of a few hundred kilobytes, is kept off the stack: under a
  // limit on the address space, a stack that cannot grow ends the run with a fault rather
  // than a message.
  void* room = systemCalls().allocate(sizeof(Mesh));
  if (room == nullptr)
    return failedAt(BuildStep::Mesh, failedStep, failureOf(Message::OutOfMemory));
  const std::unique_ptr<Mesh, MeshRelease> mesh(new (room) Mesh);
  if (Failure failure = readMesh(meshName, kNameLength, *mesh)) {
    return failedAt(BuildStep::Mesh, failedStep, failure);
  }
  BlockPlan plan;
  if (Failure failure = readBlocks(blockName, kNameLength, *mesh, plan, kReadAheadLimits, stop)) {
    return failedAt(BuildStep::Blocks, failedStep, failure);
  }
  if (Failure failure = writeModel(modelName, kNameLength, *mesh, plan, stop)) {
    return failedAt(BuildStep::Model, failedStep, failure);
  }
  return {};
}
