// Model files read back as boxpaint-view reads them, straight into the caller's array.
#include <memory>
#include <string>

#include "library/file_call_lock.h"
#include "library/internal_mesh.h"
#include "library/library_failure.h"
#include "model_files/read_model.h"

namespace boxpaint {

Failure readModel(const std::string& path, const Mesh& mesh, std::span<double> cells,
                  const CallControl* control) {
  if (Failure failure = nameFailure(path); failed(failure)) return failure;
  const FileCallLock lock;
  return failingOnMemory([&] {
    std::unique_ptr<::Mesh> internal;
    if (Failure failure = modelMesh(mesh, cells.size(), internal); failed(failure)) return failure;
    // boxpaint-view reads its standard input for "-"; a caller's "-" is a file.
    const std::string name = path == "-" ? "./-" : path;
    ReadControl reading;
    if (control != nullptr) reading = {control->keepGoing, control->context};
    // A stop is the run-time's message 200, kStopped.
    return companionFailure(readModelValues(name.c_str(), *internal, cells.data(), &reading));
  });
}

}  // namespace boxpaint
