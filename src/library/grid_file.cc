// The model written as boxpaint-view's VTK rectilinear grid, by boxpaint-view's own writer.
#include <memory>
#include <string>

#include "boxpaint/grid.h"
#include "library/file_call_lock.h"
#include "library/internal_mesh.h"
#include "library/library_failure.h"
#include "model_files/write_rectilinear_grid.h"

namespace boxpaint {

Failure writeRectilinearGrid(const std::string& path, const Mesh& mesh,
                             std::span<const double> values, const std::string& name) {
  for (const std::string* text : {&path, &name}) {
    if (Failure failure = nameFailure(*text); failed(failure)) return failure;
  }
  const FileCallLock lock;
  return failingOnMemory([&] {
    std::unique_ptr<::Mesh> internal;
    if (Failure failure = modelMesh(mesh, values.size(), internal); failed(failure)) return failure;
    return companionFailure(writeGridFile(path.c_str(), *internal, values.data(), name.c_str()));
  });
}

}  // namespace boxpaint
