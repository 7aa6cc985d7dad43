// Mesh files read as boxpaint reads them, and written so that it reads them back to the
// same numbers.
#include <algorithm>
#include <cmath>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "boxpaint/mesh.h"
#include "check/format/shortest_number.h"
#include "library/file_call_lock.h"
#include "library/internal_mesh.h"
#include "library/library_failure.h"
#include "library/output_connection.h"
#include "mesh/read_mesh.h"

namespace {

// Gives back a mesh the mesh reader made.
struct MeshRelease {
  void operator()(::Mesh* mesh) const {
    releaseMesh(*mesh);
    delete mesh;
  }
};

// Numbers a line of widths holds.
constexpr int kWidthsPerLine = 8;

// Appends the widths of `axis` as one group: eight items a line, a run of one finite
// value as "r*v". An axis of no cells still takes a line, which its read statement passes.
void appendWidths(std::string& text, const boxpaint::MeshAxis& axis) {
  const std::vector<double>& widths = axis.widths;
  if (widths.empty()) {
    text.append("0\n");
    return;
  }
  int onLine = 0;
  for (size_t k = 0; k < widths.size();) {
    size_t run = 1;
    while (k + run < widths.size() && widths[k + run] == widths[k] &&
           std::signbit(widths[k + run]) == std::signbit(widths[k]) && std::isfinite(widths[k])) {
      ++run;
    }
    if (onLine > 0) text.push_back(' ');
    if (run > 1) {
      appendInteger(text, static_cast<int64_t>(run));
      text.push_back('*');
    }
    appendNumber(text, widths[k]);
    k += run;
    if (++onLine == kWidthsPerLine || k == widths.size()) {
      text.push_back('\n');
      onLine = 0;
    }
  }
}

}  // namespace

namespace boxpaint {

Failure readMesh(const std::string& path, Mesh& mesh) {
  if (Failure failure = nameFailure(path); failed(failure)) return failure;
  const FileCallLock lock;
  return failingOnMemory([&] {
    // The reader's axes carry search tables of a few hundred kilobytes: not on the stack;
    // their node arrays are given back however this ends.
    const std::unique_ptr<::Mesh, MeshRelease> read(new ::Mesh);
    const ::Failure failure = readMeshWidths(path.data(), static_cast<int>(path.size()), *read);
    Mesh made;
    if (!failure) {
      for (auto [axis, from, falling] : {std::tuple{&made.easting, &read->easting, false},
                                         std::tuple{&made.northing, &read->northing, false},
                                         std::tuple{&made.elevation, &read->elevation, true}}) {
        axis->cellCount = from->cellCount;
        axis->origin = from->nodeCount > 0 ? from->nodes[0] : 0.0;
        if (from->cellCount > 0)
          axis->widths.assign(from->nodes + 1, from->nodes + from->nodeCount);
        makeNodes(*axis, falling);
      }
    }
    if (failure) return runFailure(failure);
    mesh = std::move(made);
    return Failure{};
  });
}

Failure writeMesh(const std::string& path, const Mesh& mesh) {
  for (const MeshAxis* axis : {&mesh.easting, &mesh.northing, &mesh.elevation}) {
    if (static_cast<int64_t>(axis->widths.size()) != std::max(axis->cellCount, 0)) {
      return badArgument("a mesh axis holds another number of widths than its cell count");
    }
  }
  if (Failure failure = nameFailure(path); failed(failure)) return failure;
  const FileCallLock lock;
  return failingOnMemory([&] {
    return writeOutputFile(path, TerminatorKind::LF, [&](Connection& connection) {
      std::string text;
      const MeshAxis* axes[] = {&mesh.easting, &mesh.northing, &mesh.elevation};
      for (const MeshAxis* axis : axes) {
        appendInteger(text, axis->cellCount);
        text.push_back(axis == axes[2] ? '\n' : ' ');
      }
      for (const MeshAxis* axis : axes) {
        appendNumber(text, axis->origin);
        text.push_back(axis == axes[2] ? '\n' : ' ');
      }
      for (const MeshAxis* axis : axes) {
        appendWidths(text, *axis);
        if (const ::Failure failure = writeLines(connection, text, false)) return failure;
      }
      return writeLines(connection, text, true);
    });
  });
}

}  // namespace boxpaint
