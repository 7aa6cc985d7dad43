// The streamed model against the plain form: the same bytes for every mesh and block
// file, whatever their shape.
#include "model/paint/write_model.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "mesh/read_mesh.h"
#include "model/paint/plain_model_testing.h"
#include "output/model_value_layout.h"
#include "output/record_writer.h"
#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_output.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"
#include "runtime/platform/scratch_path_testing.h"

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// A value as text that reads back as exactly that double.
std::string exactText(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "Inf" : "-Inf";
  if (value == 0) return std::signbit(value) ? "-0" : "0";
  char text[40];
  return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

struct AxisSpec {
  int32_t cells;
  double origin;
  std::vector<double> widths;
};

struct ModelCase {
  AxisSpec east, north, down;
  double background = 0;
  std::vector<BlockRecord> blocks;
};

std::string tempPath(const std::string& name) {
  return scratchPath("write_model", name);
}

void writeText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string contentOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::string widthsLine(const AxisSpec& axis) {
  std::string line;
  for (double width : axis.widths) line += exactText(width) + " ";
  return line + "\n";
}

// A blank-padded name buffer of 200 characters.
std::string nameBuffer(const std::string& path) {
  std::string name = path;
  name.resize(200, ' ');
  return name;
}

// Writes the case's files, streams the model through the writer, and compares it with
// the plain form built on the mesh as read.
void expectStreamedEqualsPlain(const ModelCase& c, const std::string& label) {
  SCOPED_TRACE(label);
  const std::string meshPath = tempPath("mesh.txt");
  const std::string blockPath = tempPath("blocks.inp");
  const std::string modelPath = tempPath("model.txt");
  writeText(meshPath, std::to_string(c.east.cells) + " " + std::to_string(c.north.cells) + " " +
                          std::to_string(c.down.cells) + "\n" + exactText(c.east.origin) + " " +
                          exactText(c.north.origin) + " " + exactText(c.down.origin) + "\n" +
                          widthsLine(c.east) + widthsLine(c.north) + widthsLine(c.down));
  std::string blocks = exactText(c.background) + "\n" + std::to_string(c.blocks.size()) + "\n";
  for (const BlockRecord& b : c.blocks) {
    for (double v : {b.e1, b.e2, b.n1, b.n2, b.z1, b.z2, b.value}) blocks += exactText(v) + " ";
    blocks += "\n";
  }
  writeText(blockPath, blocks);
  writeText(modelPath, "an old model file, longer than some of the new ones\r\n");

  Mesh mesh;
  const std::string meshName = nameBuffer(meshPath);
  const std::string blockName = nameBuffer(blockPath);
  const std::string modelName = nameBuffer(modelPath);
  ASSERT_FALSE(readMesh(meshName.data(), 200, mesh));
  BlockPlan plan;
  ASSERT_FALSE(readBlocks(blockName.data(), 200, mesh, plan));
  const Failure failure = writeModel(modelName.data(), 200, mesh, plan);
  releaseBlockList(plan.blocks);
  const std::string plain = plainModelFile(mesh, c.background, c.blocks);
  releaseMesh(mesh);
  ASSERT_FALSE(failure) << "the write failed with " << numberOf(failure.message);
  const std::string streamed = contentOf(modelPath);
  if (plain.empty()) {
    EXPECT_EQ(streamed, "an old model file, longer than some of the new ones\r\n");
  } else {
    ASSERT_EQ(streamed.size(), plain.size());
    // Where they differ, the record number says which cell.
    const size_t differs =
        std::mismatch(plain.begin(), plain.end(), streamed.begin()).first - plain.begin();
    EXPECT_EQ(differs, plain.size()) << "first differing record " << differs / 12;
  }
  std::remove(meshPath.c_str());
  std::remove(blockPath.c_str());
  std::remove(modelPath.c_str());
}

// A random axis of up to `maxCells` cells; now and then one whose nodes run the other
// way, repeat, or that has no cells at all.
AxisSpec randomAxis(std::mt19937& random, int32_t maxCells) {
  AxisSpec axis;
  axis.cells = std::uniform_int_distribution<int32_t>(0, maxCells)(random);
  if (random() % 16 == 0) axis.cells = -static_cast<int32_t>(random() % 3);
  axis.origin = std::uniform_real_distribution<double>(-100, 100)(random);
  const int kind = static_cast<int>(random() % 8);
  for (int32_t k = 0; k < axis.cells; ++k) {
    double width = std::uniform_real_distribution<double>(0.5, 20)(random);
    if (kind == 0) width = -width;                                 // nodes running the other way
    if (kind == 1 && random() % 3 == 0) width = 0;                 // repeated nodes
    if (kind == 2) width = static_cast<double>(1 + random() % 4);  // exact ties
    axis.widths.push_back(width);
  }
  return axis;
}

// A bound somewhere around the axis: inside, beyond either end, or special.
double randomBound(std::mt19937& random, const AxisSpec& axis, bool falling) {
  double span = 0;
  for (double w : axis.widths) span += w;
  const double sign = falling ? -1 : 1;
  switch (random() % 16) {
    case 0:
      return kNaN;
    case 1:
      return random() % 2 ? kInf : -kInf;
    case 2:
      return std::copysign(0.0, -1.0);
    case 3:
      return 1e60;
    default:
      break;
  }
  // Node coordinates themselves now and then, for ties.
  if (random() % 4 == 0 && !axis.widths.empty()) {
    double node = axis.origin;
    const size_t upTo = random() % axis.widths.size();
    for (size_t k = 0; k < upTo; ++k) node += sign * axis.widths[k];
    return node;
  }
  return axis.origin + sign * std::uniform_real_distribution<double>(-0.2, 1.2)(random) * span;
}

double randomValue(std::mt19937& random) {
  switch (random() % 12) {
    case 0:
      return kNaN;
    case 1:
      return -kInf;
    case 2:
      return std::copysign(0.0, -1.0);
    case 3:
      return 1e-310;  // subnormal
    default:
      return std::uniform_real_distribution<double>(-1e3, 1e3)(random);
  }
}

ModelCase randomCase(std::mt19937& random, int32_t maxCells, int blockCount) {
  ModelCase c;
  c.east = randomAxis(random, maxCells);
  c.north = randomAxis(random, maxCells);
  c.down = randomAxis(random, maxCells);
  c.background = randomValue(random);
  for (int b = 0; b < blockCount; ++b) {
    BlockRecord block;
    block.e1 = randomBound(random, c.east, false);
    block.e2 = randomBound(random, c.east, false);
    block.n1 = randomBound(random, c.north, false);
    block.n2 = randomBound(random, c.north, false);
    block.z1 = randomBound(random, c.down, true);
    block.z2 = randomBound(random, c.down, true);
    block.value = randomValue(random);
    c.blocks.push_back(block);
  }
  return c;
}

TEST(WriteModelTest, StreamedModelEqualsThePlainOneOnRandomInputs) {
  std::mt19937 random(20261207);
  for (int run = 0; run < 150; ++run) {
    expectStreamedEqualsPlain(randomCase(random, 12, static_cast<int>(random() % 20)),
                              "random case " + std::to_string(run));
  }
}

TEST(WriteModelTest, StreamedModelEqualsThePlainOneWithManyBlocks) {
  std::mt19937 random(200000);
  ModelCase c = randomCase(random, 0, 0);
  c.east = {40, 0, std::vector<double>(40, 10)};
  c.north = {30, 0, std::vector<double>(30, 10)};
  c.down = {20, 1000, std::vector<double>(20, 5)};
  for (int b = 0; b < 200000; ++b) {
    const double e = std::uniform_real_distribution<double>(-20, 420)(random);
    const double n = std::uniform_real_distribution<double>(-20, 320)(random);
    const double z = std::uniform_real_distribution<double>(880, 1020)(random);
    c.blocks.push_back({e, e + 30, n + 25, n, z, z - 15, static_cast<double>(b % 97)});
  }
  expectStreamedEqualsPlain(c, "200,000 blocks");
}

TEST(WriteModelTest, StreamedModelEqualsThePlainOneOnLongAxes) {
  // Slabs too large for one piece: runs of whole columns, and parts of one long column.
  std::mt19937 random(7);
  for (const auto& [ne, nz] : {std::pair{600, 500}, std::pair{1, 600000}}) {
    ModelCase c = randomCase(random, 0, 0);
    c.east = {ne, 0, std::vector<double>(static_cast<size_t>(ne), 1)};
    c.north = {2, 0, {1, 1}};
    c.down = {nz, 0, std::vector<double>(static_cast<size_t>(nz), 1)};
    c.background = 2.5;
    c.blocks = {{10, 300, 0, 1, -5, -400000, 7}, {0, 2, 0, 2, -1000, -1020, -1}};
    expectStreamedEqualsPlain(c, std::to_string(ne) + " columns of " + std::to_string(nz));
  }
}

// Runs `body` on a fresh file open as the model file, its records ended by `terminator`,
// and returns what the file holds after.
template <typename Body>
std::string writtenWith(TerminatorKind terminator, Body body) {
  const std::string path = tempPath("values.txt");
  std::remove(path.c_str());
  EXPECT_FALSE(openOutput(2, path.data(), static_cast<int>(path.size())));
  Connection& connection = *lookUpConnection(2);
  connection.terminator = terminator;
  startOutput(connection, false);  // nothing written yet: the channel takes the terminator
  body(connection);
  closeConnection(2);
  const std::string text = contentOf(path);
  std::remove(path.c_str());
  return text;
}

TEST(WriteModelTest, ValueRecordsInBulkMatchOneOperationPerValue) {
  // Runs of repeated values, value changes inside and across buffers, NaN payloads and
  // both zeros: the bulk path must give exactly the bytes of one emit per value.
  std::vector<double> values;
  uint64_t state = 12345;
  for (int i = 0; i < 300000; ++i) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    uint64_t pick = state >> 60;
    double value = pick < 10 ? 0.05 : pick < 12 ? -0.0 : pick < 13 ? 1e-310 : 0.1 * (pick - 12);
    if (pick == 15) {
      uint64_t bits = 0x7FF8000000000000u | (state & 0xFFFF);
      std::memcpy(&value, &bits, sizeof value);
    }
    values.push_back(value);
  }
  for (TerminatorKind terminator :
       {TerminatorKind::Normal, TerminatorKind::LF, TerminatorKind::CR, TerminatorKind::CRLF}) {
    const std::string plain = writtenWith(terminator, [&](Connection& connection) {
      RecordWriter writer;
      writer.connection = &connection;
      for (double v : values) {
        OutputValue value;
        value.real = v;
        emit(writer, modelValueLayout, {&value, 1});
      }
    });
    const std::string bulk = writtenWith(terminator, [&](Connection& connection) {
      EXPECT_FALSE(
          writeValueRecords(connection, values.data(), static_cast<int64_t>(values.size())));
    });
    EXPECT_EQ(plain.size(), bulk.size());
    EXPECT_TRUE(plain == bulk) << "terminator " << static_cast<int>(terminator);
  }
}

}  // namespace
