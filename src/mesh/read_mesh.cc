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
void createAxis(NodeAxis& axis, int32_t cellCount) {
  int64_t nodes = static_cast<int64_t>(cellCount) + 1;
  if (nodes < 0) nodes = 0;
  axis.cellCount = cellCount;
  axis.nodes = static_cast<double*>(allocateArray({static_cast<uint32_t>(nodes)}, 8));
  axis.nodeCount = static_cast<int32_t>(nodes);
}

// Reads the origin of an axis into node 1; an axis without nodes drops it.
void readOrigin(FreeFormReader& reader, NodeAxis& axis) {
  double dropped = 0;
  reader.readReal(axis.nodeCount > 0 ? axis.nodes[0] : dropped);
}

// One statement of widths into nodes 2..n+1; still one record when n <= 0.
void readWidths(FreeFormReader& reader, NodeAxis& axis) {
  reader.beginStatement();
  if (axis.cellCount > 0) reader.readRealRun(axis.nodes + 1, axis.cellCount);
  reader.endStatement();
}

// The record the statement just read ended on.
int64_t lastLine(const Connection& connection) {
  return connection.recordsRead.load(std::memory_order_relaxed);
}

}  // namespace

bool readMesh(const char* name, int length, Mesh& mesh, MeshLines* lines) {
  if (openConnection(kMeshUnit, name, length, OpenMode::Input) != 0) return false;
  {
    Connection& connection = *lookUpConnection(kMeshUnit);
    FreeFormReader reader(connection);
    MeshLines read;
    int32_t ne = 0, nn = 0, nz = 0;
    reader.beginStatement();
    reader.readInteger(ne);
    reader.readInteger(nn);
    reader.readInteger(nz);
    reader.endStatement();
    read.counts = lastLine(connection);

    createAxis(mesh.northing, nn);
    createAxis(mesh.easting, ne);
    createAxis(mesh.elevation, nz);

    reader.beginStatement();
    readOrigin(reader, mesh.easting);
    readOrigin(reader, mesh.northing);
    readOrigin(reader, mesh.elevation);
    reader.endStatement();
    read.origin = lastLine(connection);

    readWidths(reader, mesh.easting);
    read.widths[0] = lastLine(connection);
    readWidths(reader, mesh.northing);
    read.widths[1] = lastLine(connection);
    readWidths(reader, mesh.elevation);
    read.widths[2] = lastLine(connection);
    if (lines != nullptr) *lines = read;
  }
  closeConnection(kMeshUnit);

  sumNodeWidths(mesh.northing, false);
  sumNodeWidths(mesh.easting, false);
  sumNodeWidths(mesh.elevation, true);
  return true;
}
