// Fuzz target for a whole model build: read the mesh, paint the blocks, write the model.
//
// The input is split at its first NUL byte into a mesh file and a block file; without a
// NUL the block file is missing. Both become in-memory files, and `buildModel` runs
// in-process and returns how the build ended. A plain reference build of the same files (the
// whole-array painter of model/paint/plain_model_testing.h, nodes found by the sequential scan)
// says how the run must end:
//   - status 0 and a model file of exactly one record per cell, each the rendering of
//     the reference cell, every one of valid shape; or, with no cell, the old model file
//     untouched;
//   - or a read or memory message (24, 59, 64, 41, 179) and the old model file untouched;
// and no descriptor, connection or array outlives the run. Models of more than a million
// cells are not built, to keep the search quick.
//
// Build and run (one core; new inputs go to the first directory, the seeds stay as they are):
//   cmake -S . -B build-fuzz -DBOXPAINT_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ -DBOXPAINT_TESTS=OFF
//   cmake --build build-fuzz --target whole_run_fuzz
//   mkdir -p /tmp/whole_run && build-fuzz/whole_run_fuzz -max_len=4096 -timeout=30 \
//       -max_total_time=1800 /tmp/whole_run fuzz/corpus/whole_run
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "app/build_model.h"
#include "freeform/free_form_reader.h"
#include "mesh/nearest_node.h"
#include "mesh/read_mesh.h"
#include "model/blocks/block_record.h"
#include "model/paint/plain_model_testing.h"
#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"
#include "runtime/ending/run_end.h"
#include "runtime/environment/command_line.h"
#include "runtime/memory/allocate_array.h"

namespace {

// Arrays above this (the mesh's node arrays) are refused as the system would refuse
// memory (message 41).
constexpr uint64_t kArrayByteLimit = 8u << 20;

// Node visits the reference may spend on sequential scans per input; beyond it the
// reference snaps with the utility's own search.
constexpr int64_t kScanBudget = 20'000'000;

// What an existing model file holds before each run: more than a few records, so that a
// short new model shows whether the old tail is cut off.
const std::string kOldModel = "old model line 1\r\nold model line 2\r\nold model line 3\r\n";

void check(bool condition) {
  if (!condition) __builtin_trap();
}

// An in-memory file and the 200-character name buffer that opens it.
struct MemoryFile {
  int fd = -1;
  char name[kNameLength];

  explicit MemoryFile(const char* label) {
    fd = memfd_create(label, 0);
    check(fd >= 0);
    setName("/proc/self/fd/" + std::to_string(fd));
  }
  void setName(const std::string& path) {
    std::memset(name, ' ', sizeof name);
    std::memcpy(name, path.data(), std::min(path.size(), sizeof name));
  }
  void fill(const void* bytes, size_t size) const {
    check(ftruncate(fd, 0) == 0);
    size_t written = 0;
    while (written < size) {
      const ssize_t n = pwrite(fd, static_cast<const char*>(bytes) + written, size - written,
                               static_cast<off_t>(written));
      check(n > 0);
      written += static_cast<size_t>(n);
    }
  }
  std::string content() const {
    struct stat info;
    check(fstat(fd, &info) == 0);
    std::string text(static_cast<size_t>(info.st_size), '\0');
    size_t got = 0;
    while (got < text.size()) {
      const ssize_t n = pread(fd, text.data() + got, text.size() - got, static_cast<off_t>(got));
      check(n > 0);
      got += static_cast<size_t>(n);
    }
    return text;
  }
};

// How the reference build says the run must end.
struct Expected {
  bool tooLarge = false;  // a model not worth building here
  int status = 0;
  bool modelWritten = false;  // status 0 with at least one cell
  std::string model;          // the records, when written
};

// Models of more cells than this are not built: the run writes any model the size
// rule allows, and a large one would only slow the search down.
constexpr size_t kMaxCells = 1u << 20;

// The cells of the model, or 179 when its byte size as doubles overflows the 32-bit
// arithmetic that bounds it.
int modelSizeEnd(int32_t ne, int32_t nn, int32_t nz, size_t& cells) {
  const uint32_t factors[] = {static_cast<uint32_t>(std::max(nz, 0)),
                              static_cast<uint32_t>(std::max(ne, 0)),
                              static_cast<uint32_t>(std::max(nn, 0)), 8u};
  uint32_t bytes = factors[0];
  for (int i = 1; i < 4; ++i) {
    if (__builtin_mul_overflow(bytes, factors[i], &bytes)) return 179;
  }
  cells = bytes / 8;
  return 0;
}

// The plain snapping rule: the sequential scan while the budget of node visits lasts.
struct BudgetedSnap {
  int64_t* budget;
  int32_t operator()(const NodeAxis& axis, double x) const {
    *budget -= axis.nodeCount;
    return *budget >= 0 ? nearestNodeSequential(axis, x) : nearestNode(axis, x);
  }
};

// Reads the block file as the run does and paints the reference model the plain way.
// Returns the failure that stops the reading, the open's refusal among them.
Failure readReferenceBlocks(const char* blockName, const Mesh& mesh, std::vector<double>& cells) {
  constexpr int32_t kUnit = 1;
  if (Failure opened = openInput(kUnit, blockName, kNameLength)) return opened;
  double background = 0;
  std::vector<BlockRecord> blocks;
  Failure failure;
  {
    FreeFormReader reader(*lookUpConnection(kUnit));
    reader.beginStatement();
    reader.readReal(background);
    reader.endStatement();
    int32_t count = 0;
    reader.beginStatement();
    reader.readInteger(count);
    reader.endStatement();
    BlockRecord block;
    for (int32_t b = 0; b < count && !reader.failed(); ++b) {
      reader.beginStatement();
      for (double* field :
           {&block.e1, &block.e2, &block.n1, &block.n2, &block.z1, &block.z2, &block.value}) {
        reader.readReal(*field);
      }
      reader.endStatement();
      // A field the next block leaves unread keeps this block's value as ordered.
      if (block.n1 > block.n2) std::swap(block.n1, block.n2);
      if (block.e1 > block.e2) std::swap(block.e1, block.e2);
      if (block.z1 < block.z2) std::swap(block.z1, block.z2);
      blocks.push_back(block);
    }
    failure = reader.failure();
  }
  if (failure) {
    closeAfterFailure(kUnit, failure);
    return failure;
  }
  if (Failure closed = closeConnection(kUnit)) return closed;
  int64_t budget = kScanBudget;
  cells = plainModelCells(mesh, background, std::move(blocks), BudgetedSnap{&budget});
  return {};
}

// The exit status the driver gives `failure`: an input that cannot be opened is the
// not-found message and status 0.
int statusOf(const Failure& failure, bool input) {
  if (input && isOpenRefusal(failure)) return 0;
  return numberOf(failure.message);
}

Expected referenceBuild(const char* meshName, const char* blockName) {
  Expected expected;
  Mesh mesh;
  if (Failure failure = readMesh(meshName, kNameLength, mesh)) {
    releaseMesh(mesh);
    expected.status = statusOf(failure, true);
    return expected;
  }
  size_t cellCount = 0;
  expected.status = modelSizeEnd(mesh.easting.cellCount, mesh.northing.cellCount,
                                 mesh.elevation.cellCount, cellCount);
  if (expected.status == 0 && cellCount > kMaxCells) expected.tooLarge = true;
  std::vector<double> cells;
  Failure failure;
  if (expected.status == 0 && !expected.tooLarge) {
    failure = readReferenceBlocks(blockName, mesh, cells);
  }
  releaseMesh(mesh);
  if (failure) {
    expected.status = statusOf(failure, true);
    return expected;
  }
  if (expected.tooLarge || expected.status != 0 || cells.empty()) return expected;
  expected.modelWritten = true;
  expected.model = plainModelText(cells);
  return expected;
}

bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

// One model record of valid shape: NaN, an infinity, zero, or a sign, four significant
// digits and an exponent of two digits after E or of three digits in its place.
bool validRecord(const char* r) {
  for (const char* special : {"       NaN", "  Infinity", " -Infinity", " 0.000E+00"}) {
    if (std::memcmp(r, special, 10) == 0) return true;
  }
  if ((r[0] != ' ' && r[0] != '-') || r[1] < '1' || r[1] > '9' || r[2] != '.') return false;
  if (!isDigit(r[3]) || !isDigit(r[4]) || !isDigit(r[5])) return false;
  if (r[6] == 'E') {
    return (r[7] == '+' || r[7] == '-') && isDigit(r[8]) && isDigit(r[9]);
  }
  if (r[6] != '+' && r[6] != '-') return false;
  if (!isDigit(r[7]) || !isDigit(r[8]) || !isDigit(r[9])) return false;
  const int exponent = (r[7] - '0') * 100 + (r[8] - '0') * 10 + (r[9] - '0');
  // Three digits only where two do not suffice: 1e100 and up, 1e-100 down to the
  // smallest subnormal, 4.941e-324.
  return exponent >= 100 && (r[6] == '+' ? exponent <= 308 : exponent <= 324);
}

void checkModelShape(const std::string& model) {
  check(model.size() % 12 == 0);
  for (size_t at = 0; at < model.size(); at += 12) {
    const char* record = model.data() + at;
    check(record[10] == '\r' && record[11] == '\n');
    // Models repeat a few values many times; judge each run once.
    if (at >= 12 && std::memcmp(record, record - 12, 10) == 0) continue;
    check(validRecord(record));
  }
}

// The ends a run on in-memory files may have: done, or a read or memory failure.
bool documentedEnd(int status) {
  for (int number : {0, 24, 59, 64, 41, 179}) {
    if (status == number) return true;
  }
  return false;
}

// The lowest free descriptor number; a descriptor left open by a run raises it.
int lowestFreeDescriptor() {
  const int probe = dup(0);
  check(probe >= 0);
  close(probe);
  return probe;
}

MemoryFile* meshFile;
MemoryFile* blockFile;
MemoryFile* modelFile;
char missingBlockName[kNameLength];

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  // Every input ends a run, many of them with a diagnostic that is not wanted on the
  // console; a missing block file prints its message on standard output.
  setenv("FOR_DISABLE_DIAGNOSTIC_DISPLAY", "1", 1);
  setenv("FOR_DISABLE_STACK_TRACE", "1", 1);
  const int null = open("/dev/null", O_WRONLY);
  check(null >= 0 && dup2(null, 1) == 1);
  close(null);
  setArrayByteLimitForTests(kArrayByteLimit);
  meshFile = new MemoryFile("mesh");
  blockFile = new MemoryFile("blocks");
  modelFile = new MemoryFile("model");
  std::memset(missingBlockName, ' ', sizeof missingBlockName);
  std::memcpy(missingBlockName, "/nonexistent/blocks.inp", 23);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t* separator = static_cast<const uint8_t*>(std::memchr(data, 0, size));
  const size_t meshSize = separator != nullptr ? static_cast<size_t>(separator - data) : size;
  meshFile->fill(data, meshSize);
  const char* blockName = missingBlockName;
  if (separator != nullptr) {
    blockFile->fill(separator + 1, size - meshSize - 1);
    blockName = blockFile->name;
  }
  modelFile->fill(kOldModel.data(), kOldModel.size());
  const int freeDescriptor = lowestFreeDescriptor();

  const Expected expected = referenceBuild(meshFile->name, blockName);
  if (expected.tooLarge) return 0;
  BuildStep step = BuildStep::Mesh;
  const Failure failure = buildModel(meshFile->name, blockName, modelFile->name, &step);
  const int status = failure ? statusOf(failure, step != BuildStep::Model) : 0;

  // The build ends with a documented number, as the reference did.
  check(documentedEnd(expected.status));
  check(status == expected.status);
  const std::string model = modelFile->content();
  if (expected.modelWritten) {
    checkModelShape(model);
    check(model == expected.model);
  } else {
    // A run that fails before writing, or writes no record, leaves the file as it was.
    check(model == kOldModel);
  }
  // A build that returns leaves nothing open and the end of the run unclaimed.
  check(lowestFreeDescriptor() == freeDescriptor);
  for (int32_t unit : {1, 2, -1}) check(lookUpConnection(unit) == nullptr);
  check(tryClaimRunEnd());
  forgetRunEndForTests();
  return 0;
}
