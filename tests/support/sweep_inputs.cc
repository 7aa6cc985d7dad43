#include "support/sweep_inputs.h"

#include <cstdlib>
#include <sstream>

bool fullSweep() {
  const char* sweep = std::getenv("BOXPAINT_SWEEP");
  return sweep != nullptr && std::string(sweep) == "full";
}

void sweptMeshCounts(int& ne, int& nn, int& nz) {
  ne = fullSweep() ? 150 : 100;
  nn = ne;
  nz = 80;
  if (const char* mesh = std::getenv("BOXPAINT_SWEEP_MESH")) {
    std::istringstream(mesh) >> ne >> nn >> nz;
  }
}

std::string sweptMeshText(int ne, int nn, int nz) {
  return std::to_string(ne) + " " + std::to_string(nn) + " " + std::to_string(nz) + "\n0 0 1000\n" +
         std::to_string(ne) + "*1\n" + std::to_string(nn) + "*1\n" + std::to_string(nz) + "*1\n";
}

std::string sweptBlockText(int ne, int nn, int nz) {
  std::ostringstream blocks;
  blocks << "1.5\n" << ne * nn << "\n";
  for (int j = 0; j < ne; ++j) {
    for (int k = 0; k < nn; ++k) {
      blocks << j << ' ' << j + 1 << ' ' << k << ' ' << k + 1 << " 1000 " << 1000 - nz << ' '
             << 1 + k % 9000 / 1000.0 << 'e' << j % 180 - 90 << '\n';
    }
  }
  return blocks.str();
}
