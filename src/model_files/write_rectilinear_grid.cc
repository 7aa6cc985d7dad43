#include "model_files/write_rectilinear_grid.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <iterator>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "companion/exit_status.h"
#include "model_files/grid_cell_order.h"

namespace {

// Bytes of cell values reordered at a time.
constexpr int64_t kChunkBytes = 32 << 20;

// One appended array: the byte count (UInt64, the header type) and then the doubles.
uint64_t appendedSize(int64_t valueCount) {
  return sizeof(uint64_t) + static_cast<uint64_t>(valueCount) * sizeof(double);
}

// `text` as an XML attribute's value holds it.
std::string attributeText(std::string_view text) {
  std::string escaped;
  for (const char c : text) {
    switch (c) {
      case '&':
        escaped += "&amp;";
        break;
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        escaped += c;
    }
  }
  return escaped;
}

std::string dataArray(const std::string& name, uint64_t offset) {
  return std::string("<DataArray type=\"Float64\" Name=\"") + name +
         "\" NumberOfComponents=\"1\" format=\"appended\" offset=\"" + std::to_string(offset) +
         "\"/>\n";
}

// The nodes of `axis`, reversed when `flip` says, copied bit for bit.
void writeCoordinates(OutputFile& file, const NodeAxis& axis, bool flip) {
  const std::vector<double> nodes =
      flip ? std::vector<double>(std::reverse_iterator(axis.nodes + axis.nodeCount),
                                 std::reverse_iterator(axis.nodes))
           : std::vector<double>(axis.nodes, axis.nodes + axis.nodeCount);
  const uint64_t bytes = nodes.size() * sizeof(double);
  writeOutput(file, &bytes, sizeof bytes);
  writeOutput(file, nodes.data(), bytes);
}

}  // namespace

CompanionFailure writeRectilinearGrid(OutputFile& file, const Mesh& mesh, GridFlips flips,
                                      const double* model, const char* valueName) {
  const int64_t ne = mesh.easting.cellCount;
  const int64_t nn = mesh.northing.cellCount;
  const int64_t nz = mesh.elevation.cellCount;
  const int64_t cells = ne * nn * nz;

  const std::string extent =
      "0 " + std::to_string(ne) + " 0 " + std::to_string(nn) + " 0 " + std::to_string(nz);
  uint64_t offset = 0;
  std::string header = "<?xml version=\"1.0\"?>\n<VTKFile type=\"RectilinearGrid\" version=\"0.1\"";
  header += std::endian::native == std::endian::little ? " byte_order=\"LittleEndian\""
                                                       : " byte_order=\"BigEndian\"";
  header += " header_type=\"UInt64\">\n<RectilinearGrid WholeExtent=\"" + extent + "\">\n";
  const std::string name = attributeText(valueName);
  header += "<Piece Extent=\"" + extent + "\">\n<CellData Scalars=\"" + name + "\">\n";
  header += dataArray(name, offset);
  offset += appendedSize(cells);
  header += "</CellData>\n<Coordinates>\n";
  header += dataArray("easting", offset);
  offset += appendedSize(ne + 1);
  header += dataArray("northing", offset);
  offset += appendedSize(nn + 1);
  header += dataArray("elevation", offset);
  header += "</Coordinates>\n</Piece>\n</RectilinearGrid>\n<AppendedData encoding=\"raw\">\n_";
  writeOutput(file, header.data(), header.size());

  // The cell values go out a few elevation layers at a time, reordered x fastest.
  const uint64_t valueBytes = static_cast<uint64_t>(cells) * sizeof(double);
  writeOutput(file, &valueBytes, sizeof valueBytes);
  const int64_t layerValues = ne * nn;
  const int64_t layersPerChunk =
      std::clamp<int64_t>(kChunkBytes / static_cast<int64_t>(sizeof(double)) / layerValues, 1, nz);
  std::unique_ptr<double[]> chunk(
      new (std::nothrow) double[static_cast<size_t>(layersPerChunk * layerValues)]);
  if (chunk == nullptr) {
    return formattedFailure(kFailureStatus, "not enough memory to reorder %lld cells",
                            static_cast<long long>(layersPerChunk * layerValues));
  }
  for (int64_t first = 0; first < nz && file.error == 0; first += layersPerChunk) {
    const int64_t count = std::min(layersPerChunk, nz - first);
    toGridCellOrder(model, ne, nn, nz, flips, first, count, chunk.get());
    writeOutput(file, chunk.get(), static_cast<size_t>(count * layerValues) * sizeof(double));
  }
  writeCoordinates(file, mesh.easting, flips.easting);
  writeCoordinates(file, mesh.northing, flips.northing);
  writeCoordinates(file, mesh.elevation, flips.elevation);
  static const char kEnd[] = "\n</AppendedData>\n</VTKFile>\n";
  writeOutput(file, kEnd, sizeof kEnd - 1);
  return {};
}

CompanionFailure writeGridFile(const char* path, const Mesh& mesh, const double* model,
                               const char* valueName) {
  GridFlips flips;
  std::string error;
  if (!gridFlipsOf(mesh, flips, error)) return failureOf(kFailureStatus, error);
  OutputFile file;
  if (CompanionFailure failure = createOutputFile(path, file)) return failure;
  if (CompanionFailure failure = writeRectilinearGrid(file, mesh, flips, model, valueName)) {
    return failure;
  }
  return commitOutputFile(file);
}
