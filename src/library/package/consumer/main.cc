// Paints a small model through the installed library and prints its records.
#include <boxpaint/boxpaint.h>

#include <cstdio>
#include <string>
#include <vector>

int main() {
  const double origin[3] = {0, 0, 30};
  const std::vector<double> easting(2, 10.0), northing(1, 10.0), elevation(3, 10.0);
  boxpaint::Mesh mesh;
  boxpaint::Failure failure = boxpaint::makeMesh(origin, easting, northing, elevation, mesh);
  const boxpaint::Block blocks[] = {{0, 10, 0, 10, 30, 10, 2.71828}};
  std::vector<double> cells(static_cast<size_t>(boxpaint::modelCellCount(mesh)));
  if (!boxpaint::failed(failure)) failure = boxpaint::paintModel(mesh, 1.0, blocks, cells);
  if (boxpaint::failed(failure)) {
    std::fprintf(stderr, "failure %d: %s\n", failure.number, failure.text.c_str());
    return 1;
  }
  std::string records(cells.size() * boxpaint::recordLength(boxpaint::Terminator::LF), ' ');
  boxpaint::renderModelRecords(cells, boxpaint::Terminator::LF, records.data());
  std::printf("boxpaint %s\n%s", boxpaint::version(), records.c_str());
  return 0;
}
