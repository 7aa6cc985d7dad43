#include "mesh/read_mesh.h"

#include <cstdint>

#include "freeform/free_form_reader.h"
#include "mesh/node_sums.h"
#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"
#include "runtime/memory/allocate_array.h"

namespace {

constexpr int32_t kMeshUnit = 1;

// Creates the node array of an axis of `cellCount` cells: max(n+1, 0) nodes, all
// zero until read (the array comes zeroed).
Failure createAxis(NodeAxis& axis, int32_t cellCount) {
  int64_t nodes = static_cast<int64_t>(cellCount) + 1;
  if (nodes < 0) nodes = 0;
  Failure failure;
  axis.nodes = static_cast<double*>(allocateArray({static_cast<uint32_t>(nodes)}, 8, failure));
  if (failure) return failure;
  axis.cellCount = cellCount;
  axis.nodeCount = static_cast<int32_t>(nodes);
  return {};
}

// Reads the origin of an axis into node 1; an axis without nodes drops it.
void readOrigin(FreeFormReader& reader, NodeAxis& axis) {
  double dropped = 0;
  reader.readReal(axis.nodeCount > 0 ? axis.nodes[0] : dropped);
}

// One statement of widths into nodes 2..n+1; still one record when n <= 0.
bool readWidths(FreeFormReader& reader, NodeAxis& axis) {
  reader.beginStatement();
  if (axis.cellCount > 0) reader.readRealRun(axis.nodes + 1, axis.cellCount);
  return reader.endStatement();
}

// The record the statement just read ended on.
int64_t lastLine(const Connection& connection) {
  return connection.recordsRead.load(std::memory_order_relaxed);
}

// The five statements of the mesh file, on the open connection.
Failure readStatements(Connection& connection, Mesh& mesh, MeshLines& read) {
  FreeFormReader reader(connection);
  int32_t ne = 0, nn = 0, nz = 0;
  reader.beginStatement();
  reader.readInteger(ne);
  reader.readInteger(nn);
  reader.readInteger(nz);
  if (!reader.endStatement()) return reader.failure();
  read.counts = lastLine(connection);

  for (auto [axis, count] : {std::pair{&mesh.northing, nn}, std::pair{&mesh.easting, ne},
                             std::pair{&mesh.elevation, nz}}) {
    if (Failure failure = createAxis(*axis, count)) return failure;
  }

  reader.beginStatement();
  readOrigin(reader, mesh.easting);
  readOrigin(reader, mesh.northing);
  readOrigin(reader, mesh.elevation);
  if (!reader.endStatement()) return reader.failure();
  read.origin = lastLine(connection);

  NodeAxis* axes[] = {&mesh.easting, &mesh.northing, &mesh.elevation};
  for (int i = 0; i < 3; ++i) {
    if (!readWidths(reader, *axes[i])) return reader.failure();
    read.widths[i] = lastLine(connection);
  }
  return {};
}

}  // namespace

Failure readMeshWidths(const char* name, int length, Mesh& mesh, MeshLines* lines) {
  if (Failure opened = openInput(kMeshUnit, name, length)) return opened;
  MeshLines read;
  if (Failure failure = readStatements(*lookUpConnection(kMeshUnit), mesh, read)) {
    closeAfterFailure(kMeshUnit, failure);
    return failure;
  }
  if (Failure closed = closeConnection(kMeshUnit)) return closed;
  if (lines != nullptr) *lines = read;
  return {};
}

Failure readMesh(const char* name, int length, Mesh& mesh, MeshLines* lines) {
  if (Failure failure = readMeshWidths(name, length, mesh, lines)) return failure;
  sumNodeWidths(mesh.northing, false);
  sumNodeWidths(mesh.easting, false);
  sumNodeWidths(mesh.elevation, true);
  return {};
}

void releaseMesh(Mesh& mesh) {
  for (NodeAxis* axis : {&mesh.easting, &mesh.northing, &mesh.elevation}) {
    releaseArray(axis->nodes);
    axis->nodes = nullptr;
    axis->cellCount = axis->nodeCount = 0;
  }
}
