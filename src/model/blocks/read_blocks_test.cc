// Blocks read as boxpaint reads them (whole records of plain decimals by the reader's fast
// read, and with many blocks ahead on a second thread) against the same file read block by
// block through the statement: the same blocks, the same end, whatever the records look
// like.
#include "model/blocks/read_blocks.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "mesh/read_mesh.h"
#include "model/blocks/block_list.h"
#include "model/blocks/block_statements.h"
#include "model/blocks/read_each_block.h"
#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"
#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/platform/scratch_path_testing.h"

namespace {

std::string tempPath(const std::string& name) {
  return scratchPath("read_blocks", name);
}

void writeText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

std::string nameBuffer(const std::string& path) {
  std::string name = path;
  name.resize(200, ' ');
  return name;
}

// A block statement of random bounds on the 40 x 30 x 20 mesh of 10-unit cells, written
// one block a record (kind 23); now and then in a way only the full statement reads:
// across two records, with commas, nulls, a slash, tabs, exponents, text after it, more
// digits than the fast read takes.
std::string blockStatement(std::mt19937& random, const char* end, unsigned kind) {
  std::uniform_real_distribution<double> place(-20, 420);
  char numbers[7][32];
  for (int k = 0; k < 7; ++k) {
    // Elevations fall from the top, at 0.
    const double value = k == 6   ? static_cast<double>(random() % 50) / 4
                         : k >= 4 ? -place(random) / 2
                                  : place(random);
    const int digits = kind == 10 ? 15 : static_cast<int>(random() % 4);
    std::snprintf(numbers[k], sizeof numbers[k], "%.*f", digits, value);
  }
  std::string line;
  for (int k = 0; k < 7; ++k) {
    if (k > 0) line += kind == 0 ? "," : kind == 1 && k == 4 ? end : kind == 2 ? "\t" : " ";
    if (kind == 3 && k == 2) line += ",";  // a null: the previous block's bound stays
    if (kind == 4 && k == 5) return line + " /" + end;
    line += kind == 5 && k == 3 ? "1.5e2" : numbers[k];
  }
  if (kind == 6) line += " 8 and a comment";
  if (kind == 7) line = "  " + line + "\r";
  if (kind == 8) line = end + line;  // an empty record first
  // Two values, then five borrowed from a record that on its own reads as a whole block.
  if (kind == 9) {
    const size_t cut = line.find(' ', line.find(' ') + 1);
    line = line.substr(0, cut) + end + "4 5 6 7 8 9" + line.substr(cut);
  }
  return line + end;
}

struct ReadOutcome {
  int status = -1;
  std::string diagnostic;           // the first line of what the end of the run said
  std::vector<std::string> blocks;  // each block's cells and value, in list order
};

// Reads the block file at `blockPath` on a 40 x 30 x 20 mesh with `read` (the mesh, the
// file's name buffer, the plan to fill) and what became of it.
template <typename Read>
ReadOutcome readWith(const std::string& blockPath, Read read) {
  ReadOutcome outcome;
  Mesh mesh;
  const std::string meshPath = tempPath("mesh.txt");
  writeText(meshPath, "40 30 20\n0 0 0\n40*10\n30*10\n20*10\n");
  EXPECT_FALSE(readMesh(nameBuffer(meshPath).data(), 200, mesh));
  BlockPlan plan;
  const Failure failure = read(mesh, nameBuffer(blockPath), plan);
  for (const BlockChunk& chunk : plan.blocks.chunks) {
    for (uint32_t k = 0; k < chunk.count; ++k) {
      const PaintedBlock& b = chunk.blocks[k];
      char text[80];
      std::snprintf(text, sizeof text, "%d %d %d %d %d %d %a", b.cells.easting.first,
                    b.cells.easting.last, b.cells.northing.first, b.cells.northing.last,
                    b.cells.elevation.first, b.cells.elevation.last, b.value);
      outcome.blocks.push_back(text);
    }
  }
  releaseBlockList(plan.blocks);
  releaseMesh(mesh);
  if (failure) {
    // What the end of the run would say, and the line it stopped at.
    const Diagnostic diagnostic = diagnosticOf(failure);
    char line[512];
    TextBuffer buffer{line, sizeof line, 0, false};
    formatMessageLine(buffer, diagnostic.message, diagnostic.arguments, diagnostic.argumentCount);
    outcome.status = numberOf(failure.message);
    outcome.diagnostic = std::string(line, buffer.length) + " at " + std::to_string(failure.line);
  }
  EXPECT_EQ(lookUpConnection(1), nullptr) << "the block file is closed whatever the outcome";
  return outcome;
}

// The plain form: every block read in turn through its statement.
Failure readByStatements(const Mesh& mesh, const std::string& name, BlockPlan& plan) {
  if (Failure opened = openInput(1, name.data(), 200)) return opened;
  Failure failure;
  {
    FreeFormReader reader(*lookUpConnection(1));
    int32_t count = 0;
    readBlockFileHead(reader, plan.background, count);
    BlockRecord block;
    for (int32_t b = 0; b < count && readBlock(reader, block); ++b) {
      PaintedBlock painted;
      if (makePaintedBlock(mesh, block, painted)) *appendBlock(plan.blocks) = painted;
    }
    failure = reader.failure();
  }
  if (failure) {
    closeAfterFailure(1, failure);
    return failure;
  }
  return closeConnection(1);
}

TEST(ReadBlocksTest, ReadingAheadGivesTheBlocksReadInTurn) {
  std::mt19937 random(20261207);
  constexpr ReadAheadLimits kInTurn{INT32_MAX, 0, 0};
  const auto byStatements = [](const Mesh& mesh, const std::string& name, BlockPlan& plan) {
    return readByStatements(mesh, name, plan);
  };
  const auto readingWith = [](const ReadAheadLimits& limits) {
    return [limits](const Mesh& mesh, const std::string& name, BlockPlan& plan) {
      return readBlocks(name.data(), 200, mesh, plan, limits);
    };
  };
  for (int file = 0; file < 12; ++file) {
    SCOPED_TRACE("file " + std::to_string(file));
    // Files of regular records, and files with irregular ones among them; counts below, at
    // and above the records written.
    const char* end = file % 5 == 4 ? "\r\n" : "\n";
    const int written = 2000 + static_cast<int>(random() % 1000);
    const int count = written - 2 + file % 3 * 2;
    std::string text = "1.5\n" + std::to_string(count) + "\n";
    // Some files hold regular records only, or records of more digits than the fast read
    // takes; some often borrow values from the next record or leave values unread, so that
    // the records read ahead often start or stop there; the others mix every kind.
    constexpr unsigned kOften[] = {23, 23, 9, 4};
    for (int b = 0; b < written; ++b) {
      const unsigned kind = file == 6       ? 10
                            : file % 4 == 1 ? 23
                            : file % 4 == 3 ? kOften[random() % 4]
                                            : static_cast<unsigned>(random() % 24);
      text += blockStatement(random, end, kind);
    }
    const std::string blockPath = tempPath("blocks.inp");
    writeText(blockPath, text);
    const ReadOutcome plain = readWith(blockPath, byStatements);
    const ReadOutcome inTurn = readWith(blockPath, readingWith(kInTurn));
    // Reads of 1 MiB, wider than the first: every stretch of 64 bytes or more is handed over.
    const ReadOutcome ahead = readWith(blockPath, readingWith({0, size_t{1} << 20, 64}));
    for (const ReadOutcome* read : {&inTurn, &ahead}) {
      EXPECT_EQ(read->status, plain.status);
      EXPECT_EQ(read->diagnostic, plain.diagnostic);
      EXPECT_EQ(read->blocks, plain.blocks);
    }
    std::remove(blockPath.c_str());
  }
}

TEST(ReadBlocksTest, AnExceptionFromAHandOffLeavesTheFileClosed) {
  // Memory refused to a container of the caller's, with no handler to end the run, comes
  // through the reading as an exception; the block file must not stay connected.
  const std::string blockPath = tempPath("blocks.inp");
  writeText(blockPath, "1.5\n2\n0 1 0 1 0 -1 7\n0 1 0 1 0 -1 8\n");
  BlockHandOff handOff;
  handOff.block = [](void*, int32_t, BlockRecord&, int64_t, int64_t) -> bool {
    throw std::bad_alloc();
  };
  EXPECT_THROW(readEachBlock(nameBuffer(blockPath).data(), 200, handOff), std::bad_alloc);
  EXPECT_EQ(lookUpConnection(1), nullptr);
  std::remove(blockPath.c_str());
}

}  // namespace
