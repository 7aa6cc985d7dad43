// paintModel against the whole-array reference, cell by cell through the value each cell's
// record reads back as: small models on one thread, and a model large enough, with blocks
// enough, to be snapped in two shares and painted in two stretches of slabs.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>
#include <vector>

#include "boxpaint/model.h"
#include "library/internal_mesh.h"
#include "model/paint/plain_model_testing.h"

namespace {

// Widths of 1 to 3 units, now and then zero or negative, so that some axes repeat or
// zigzag.
std::vector<double> randomWidths(std::mt19937& random, int cells) {
  std::vector<double> widths;
  for (int k = 0; k < cells; ++k) {
    const unsigned pick = random() % 16;
    widths.push_back(pick == 0 ? 0.0 : pick == 1 ? -1.0 : 1.0 + random() % 3);
  }
  return widths;
}

void expectPaintedAsPlain(std::mt19937& random, int ne, int nn, int nz, int blockCount) {
  const double origin[3] = {0, 0, 0};
  boxpaint::Mesh mesh;
  ASSERT_FALSE(boxpaint::failed(boxpaint::makeMesh(
      origin, randomWidths(random, ne), randomWidths(random, nn), randomWidths(random, nz), mesh)));
  std::uniform_real_distribution<double> place(-20, 2.2 * std::max({ne, nn, nz}) + 20);
  std::uniform_real_distribution<double> size(0, 30);
  std::vector<boxpaint::Block> blocks;
  std::vector<BlockRecord> records;
  for (int b = 0; b < blockCount; ++b) {
    const double e = place(random), n = place(random), z = -place(random);
    blocks.push_back({e, e + size(random), n + size(random), n, z, z - size(random),
                      std::exp(place(random) / 4) * (b % 3 ? 1 : -1)});
    const boxpaint::Block& k = blocks.back();
    records.push_back({k.e1, k.e2, k.n1, k.n2, k.z1, k.z2, k.value});
  }
  std::vector<double> cells(static_cast<size_t>(boxpaint::modelCellCount(mesh)));
  ASSERT_FALSE(boxpaint::failed(boxpaint::paintModel(mesh, 0.125, blocks, cells)));
  std::unique_ptr<Mesh> internal;
  ASSERT_FALSE(boxpaint::failed(internalMesh(mesh, internal)));
  const std::vector<double> plain = plainModelCells(*internal, 0.125, records);
  ASSERT_EQ(cells.size(), plain.size());
  for (size_t c = 0; c < cells.size(); ++c) {
    ASSERT_EQ(std::bit_cast<uint64_t>(cells[c]),
              std::bit_cast<uint64_t>(boxpaint::recordedValue(plain[c])))
        << "cell " << c << " of " << ne << " x " << nn << " x " << nz;
  }
}

TEST(PaintModelTest, PaintsAsTheWholeArrayReadBack) {
  std::mt19937 random(2026);
  for (int trial = 0; trial < 100; ++trial) {
    expectPaintedAsPlain(random, random() % 8, random() % 8, random() % 8, random() % 30);
  }
  expectPaintedAsPlain(random, 101, 111, 97, 20000);
}

}  // namespace
