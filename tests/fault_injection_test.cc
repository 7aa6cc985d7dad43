// Faults from outside the run: a disk that fills part-way through the model, memory the
// system refuses, and console events at random moments. None may end the run by a
// signal or leave anything but whole, correct records in the model file.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/run_boxpaint.h"

namespace {

// Address-space limits mean nothing to a run under AddressSanitizer, which reserves
// terabytes of shadow memory, nor to one under a wrapper such as valgrind.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

constexpr size_t kRecordBytes = 12;  // 10 characters and CR LF
const char kOldModel[] = "old model content, not a whole number of records\n";

// A model of `ne` x `nn` x `nz` unit cells with one block painted over the background.
struct ModelInputs {
  TempDir dir;
  std::string full;  // the whole model, from a run nobody disturbs

  ModelInputs(int ne, int nn, int nz,
              const std::string& blocks = "1.5\n1\n10 30 0 10 800 1000 7\n") {
    dir.write("mesh.txt", std::to_string(ne) + " " + std::to_string(nn) + " " + std::to_string(nz) +
                              "\n0 0 1000\n" + std::to_string(ne) + "*1\n" + std::to_string(nn) +
                              "*1\n" + std::to_string(nz) + "*1\n");
    dir.write("blocks.inp", blocks);
    RunResult run =
        runBoxpaint({.args = {"mesh.txt", "blocks.inp", "full.txt"}, .directory = dir.path()});
    EXPECT_EQ(run.status, 0);
    full = readFile(dir.file("full.txt"));
    EXPECT_EQ(full.size(), kRecordBytes * ne * nn * nz);
  }
  RunOptions options() const {
    return {.args = {"mesh.txt", "blocks.inp", "model.txt"}, .directory = dir.path()};
  }
  std::string model() const { return readFile(dir.file("model.txt")); }
};

// True when `model` is the first whole records of `full`.
testing::AssertionResult wholeRecordsOf(const std::string& model, const std::string& full) {
  if (model.size() % kRecordBytes != 0) {
    return testing::AssertionFailure() << model.size() << " bytes: a partial record at the end";
  }
  if (model.size() > full.size() || full.compare(0, model.size(), model) != 0) {
    return testing::AssertionFailure()
           << "the " << model.size() << " bytes are not the first records of the model";
  }
  return testing::AssertionSuccess();
}

std::string severeLine(int number, const std::string& text) {
  return "forrtl: severe (" + std::to_string(number) + "): " + text;
}

// ---------------------------------------------------------------------------------------
// A full disk: a file-size limit stops the model part-way.

struct FullDisk {
  const char* name;
  int limit;              // bytes the model file may reach
  bool oldModel;          // an existing model file is being replaced
  size_t keptBytes;       // what the file holds afterwards, as whole new records
  bool keepsOld = false;  // nothing new reached the file: the old content stays
};

void PrintTo(const FullDisk& c, std::ostream* out) {
  *out << c.name;
}

class FullDiskTest : public testing::TestWithParam<std::tuple<FullDisk, bool>> {};

TEST_P(FullDiskTest, EndsWith38AndKeepsWholeCorrectRecords) {
  const auto& [c, ignoreSigxfsz] = GetParam();
  if (runsUnderWrapper() && c.limit < 4096) {
    GTEST_SKIP() << "a wrapper writes files of its own, which so small a limit refuses";
  }
  ModelInputs in(100, 100, 10);  // 100,000 records, several hand-over blocks
  if (c.oldModel) in.dir.write("model.txt", std::string(kOldModel) + std::string(4000, 'x'));
  RunOptions options = in.options();
  options.fileSizeLimit = c.limit;
  options.ignoreSigxfsz = ignoreSigxfsz;
  RunResult run = runBoxpaint(options);
  EXPECT_EQ(run.termSignal, 0);
  EXPECT_EQ(run.status, 38);
  EXPECT_EQ(firstLine(run.err),
            severeLine(38, "error during write, unit 2, file " + in.dir.file("model.txt")));
  EXPECT_EQ(run.out, "");
  std::string model = in.model();
  if (c.keepsOld) {
    EXPECT_EQ(model, std::string(kOldModel) + std::string(4000, 'x'));
  } else {
    EXPECT_EQ(model.size(), c.keptBytes);
    EXPECT_TRUE(wholeRecordsOf(model, in.full));
  }
}

INSTANTIATE_TEST_SUITE_P(
    Limits, FullDiskTest,
    testing::Combine(
        testing::Values(
            // The partial record at the limit is cut off.
            FullDisk{"midRecordInFirstBlock", 100, false, 96},
            FullDisk{"atRecordEnd", 12000, false, 12000},
            FullDisk{"midRecordInALaterBlock", 2 * 65536 + 7, false, 131076},
            // Less than one record fits: the file holds none.
            FullDisk{"lessThanOneRecord", 5, false, 0},
            // The old content goes with the first records that reach the file, and the
            // overwritten part of it with a partial record; with nothing written it stays.
            FullDisk{"replacingMidRecord", 100, true, 96},
            FullDisk{"replacingLessThanOneRecord", 5, true, 0},
            FullDisk{"replacingNothingFits", 0, true, 0, true}),
        testing::Bool()),
    [](const testing::TestParamInfo<std::tuple<FullDisk, bool>>& info) {
      return std::string(std::get<0>(info.param).name) +
             (std::get<1>(info.param) ? "SigxfszIgnored" : "SigxfszDefault");
    });

// The model on standard output, redirected to a file that fills up: a file the run
// writes from where it stands keeps whole records, one opened for appending is never cut.
TEST(FullDiskTest, StandardOutputFileKeepsWholeRecordsUnlessAppending) {
  if (runsUnderWrapper()) GTEST_SKIP() << "a wrapper writes files of its own under the limit";
  ModelInputs in(10, 10, 10);
  for (bool appends : {false, true}) {
    SCOPED_TRACE(appends ? "appending" : "replacing");
    const std::string console = in.dir.write("console.txt", "x");
    RunOptions options = in.options();
    options.args[2] = "CON";
    options.stdoutFile = console;
    options.stdoutAppends = appends;
    options.fileSizeLimit = 1024;
    RunResult run = runBoxpaint(options);
    EXPECT_EQ(run.status, 38);
    EXPECT_EQ(firstLine(run.err), severeLine(38, "error during write, unit 2, file CON"));
    const std::string written = readFile(console);
    if (appends) {
      EXPECT_EQ(written, "x" + in.full.substr(0, 1023));
    } else {
      EXPECT_EQ(written.size(), 1020u);
      EXPECT_TRUE(wholeRecordsOf(written, in.full));
    }
  }
}

TEST(FullDiskTest, FailureAtTheLastHandOverIsReportedToo) {
  // 1,000 records are gathered in one block that reaches the file only at the close.
  ModelInputs in(10, 10, 10);
  RunOptions options = in.options();
  options.fileSizeLimit = 6005;
  RunResult run = runBoxpaint(options);
  EXPECT_EQ(run.termSignal, 0);
  EXPECT_EQ(run.status, 38);
  EXPECT_EQ(firstLine(run.err),
            severeLine(38, "error during write, unit 2, file " + in.dir.file("model.txt")));
  EXPECT_EQ(in.model().size(), 6000u);
  EXPECT_TRUE(wholeRecordsOf(in.model(), in.full));
}

// ---------------------------------------------------------------------------------------
// Memory the system refuses: an address-space limit on the run.

constexpr long long kAddressSpace = 256LL << 20;

class RefusedMemoryTest : public testing::Test {
 protected:
  void SetUp() override {
    if (kSanitized) GTEST_SKIP() << "address-space limits do not apply under sanitizers";
    if (runsUnderWrapper()) GTEST_SKIP() << "address-space limits do not apply under a wrapper";
  }
};

TEST_F(RefusedMemoryTest, SmallRunNeedsNoMoreThanTheLimit) {
  ModelInputs in(3, 2, 2);
  RunOptions options = in.options();
  options.addressSpaceLimit = kAddressSpace;
  RunResult run = runBoxpaint(options);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(in.model(), in.full);
}

TEST_F(RefusedMemoryTest, ArraysThatCannotBeHadEndWith41AndLeaveTheModelAlone) {
  // 3,200,000,008 bytes of easting nodes.
  TempDir dir;
  dir.write("mesh.txt", "399999999 1 1\n0 0 0\n");
  dir.write("blocks.inp", "0\n0\n");
  dir.write("model.txt", kOldModel);
  RunResult run = runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"},
                               .directory = dir.path(),
                               .addressSpaceLimit = kAddressSpace});
  EXPECT_EQ(run.termSignal, 0);
  EXPECT_EQ(run.status, 41);
  EXPECT_EQ(firstLine(run.err), severeLine(41, "insufficient virtual memory"));
  EXPECT_EQ(readFile(dir.file("model.txt")), kOldModel);
}

TEST_F(RefusedMemoryTest, ModelLargerThanTheMemoryIsWrittenWhole) {
  // 2,000,000 cells, 16,000,000 bytes as doubles: more than the run may have. The model
  // is made a piece at a time, so the run needs far less.
  ModelInputs in(200, 100, 100);
  RunOptions options = in.options();
  options.addressSpaceLimit = 16 << 20;
  RunResult run = runBoxpaint(options);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_TRUE(in.model() == in.full);
}

TEST_F(RefusedMemoryTest, EveryLimitEndsWithAMessageOrTheWholeModel) {
  TempDir dir;
  dir.write("mesh.txt", "3 2 2\n0 0 100\n10 10 10\n10 10\n10 10\n");
  dir.write("blocks.inp", "0\n1\n10 30 0 10 80 100 7\n");
  std::string full = readFile(
      dir.write("full.txt", crlfRecords({" 0.000E+00", " 0.000E+00", " 7.000E+00", " 7.000E+00",
                                         " 7.000E+00", " 7.000E+00", " 0.000E+00", " 0.000E+00",
                                         " 0.000E+00", " 0.000E+00", " 0.000E+00", " 0.000E+00"})));
  auto runWithin = [&](long long limit) {
    dir.write("model.txt", kOldModel);
    return runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"},
                        .directory = dir.path(),
                        .addressSpaceLimit = limit});
  };
  // The lowest limit under which the program loads at all, and the lowest under which
  // the run completes, found by bisection; memory is refused at every step between.
  auto lowestWhere = [&](auto holds) {
    long long low = 1 << 20, high = kAddressSpace;
    while (high - low > 4096) {
      long long middle = (low + high) / 2;
      (holds(runWithin(middle)) ? high : low) = middle;
    }
    return high;
  };
  long long loads = lowestWhere([](const RunResult& run) { return run.status != 127; });
  long long completes = lowestWhere([](const RunResult& run) { return run.status == 0; });
  ASSERT_LT(loads, completes);
  int refused = 0;
  for (long long limit = loads - 65536; limit <= completes; limit += 16384) {
    SCOPED_TRACE("address space of " + std::to_string(limit) + " bytes");
    RunResult run = runWithin(limit);
    ASSERT_EQ(run.termSignal, 0) << run.err;
    std::string model = readFile(dir.file("model.txt"));
    switch (run.status) {
      case 0:
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(model, full);
        break;
      case 127:  // the loader cannot map the program: it never ran
        EXPECT_EQ(model, kOldModel);
        break;
      case 41:
        ++refused;
        EXPECT_EQ(firstLine(run.err), severeLine(41, "insufficient virtual memory"));
        EXPECT_EQ(model, kOldModel);
        break;
      case 98:
        ++refused;
        EXPECT_EQ(run.err.rfind(severeLine(98, "cannot allocate memory for the file buffer"), 0),
                  0u);
        EXPECT_EQ(model, kOldModel);
        break;
      default:
        ADD_FAILURE() << "status " << run.status << ": " << run.err;
    }
  }
  EXPECT_GT(refused, 0);
}

// A file whose first line is `bytes` long: a few values, then a hole that reads as NUL
// bytes and costs no disk space.
std::string writeEnormousLine(const TempDir& dir, const std::string& name, off_t bytes) {
  std::string path = dir.write(name, "1 1 1 ");
  int fd = open(path.c_str(), O_WRONLY);
  EXPECT_EQ(ftruncate(fd, bytes), 0);
  close(fd);
  return path;
}

TEST_F(RefusedMemoryTest, LineLongerThanMemoryEndsWith98) {
  for (const char* enormous : {"mesh.txt", "blocks.inp"}) {
    SCOPED_TRACE(enormous);
    TempDir dir;
    dir.write("mesh.txt", "1 1 1\n0 0 0\n1\n1\n1\n");
    dir.write("blocks.inp", "0\n0\n");
    dir.write("model.txt", kOldModel);
    // Twice the limit: the record buffer must double past it.
    std::string path = writeEnormousLine(dir, enormous, 2 * kAddressSpace);
    RunResult run = runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"},
                                 .directory = dir.path(),
                                 .addressSpaceLimit = kAddressSpace});
    EXPECT_EQ(run.termSignal, 0);
    EXPECT_EQ(run.status, 98);
    EXPECT_EQ(firstLine(run.err),
              severeLine(98,
                         "cannot allocate memory for the file buffer - out of memory, unit 1, "
                         "file " +
                             path));
    EXPECT_EQ(readFile(dir.file("model.txt")), kOldModel);
  }
}

// ---------------------------------------------------------------------------------------
// Console events at random moments: while the blocks are read and while the model is
// written.

struct Event {
  int signal;
  const char* name;
  int status;
};

constexpr Event kEvents[] = {
    {SIGINT, "control-C", 0},
    {SIGQUIT, "control-BREAK", 1},
    {SIGHUP, "window-CLOSE", 2},
};

// Many small blocks, so that reading them takes a while.
std::string manyBlocks(int count) {
  std::string text = "1.5\n" + std::to_string(count) + "\n";
  std::mt19937 random(7);
  for (int b = 0; b < count; ++b) {
    int e = random() % 100, n = random() % 100, z = random() % 100;
    text += std::to_string(e) + " " + std::to_string(e + 3) + " " + std::to_string(n) + " " +
            std::to_string(n + 2) + " " + std::to_string(1000 - z) + " " + std::to_string(990 - z) +
            " " + std::to_string(b % 9) + ".25\n";
  }
  return text;
}

TEST(ConsoleEventStormTest, EveryMomentEndsWith200AndWholeRecords) {
  ModelInputs in(100, 100, 100, manyBlocks(30000));
  std::mt19937 random(20240607);
  constexpr int kRuns = 30;
  int interrupted = 0;
  for (int r = 0; r < kRuns; ++r) {
    const Event& event = kEvents[r % 3];
    bool whileReading = r % 4 == 3;
    bool oldModel = r % 2 == 1;
    RunOptions options = in.options();
    options.signal = event.signal;
    long long bytes = std::uniform_int_distribution<long long>(1, in.full.size() - 1)(random);
    if (whileReading) {
      options.signalWhenOpen = in.dir.file("blocks.inp");
    } else {
      options.signalWhenFile = in.dir.file("model.txt");
      options.signalWhenBytes = bytes;
    }
    unlink(in.dir.file("model.txt").c_str());
    if (oldModel) in.dir.write("model.txt", kOldModel);
    SCOPED_TRACE("run " + std::to_string(r) + ": " + event.name +
                 (whileReading ? " while reading" : " at " + std::to_string(bytes) + " bytes") +
                 (oldModel ? ", replacing a model" : ""));

    RunResult run = runBoxpaint(options);
    ASSERT_EQ(run.termSignal, 0);
    std::string model = in.model();
    if (run.err.empty()) {
      // The event came too late to stop the run.
      EXPECT_EQ(run.status, 0);
      EXPECT_EQ(model.size(), in.full.size());
      EXPECT_TRUE(model == in.full);
      continue;
    }
    ++interrupted;
    EXPECT_EQ(run.status, event.status);
    EXPECT_EQ(firstLine(run.err),
              std::string("forrtl: error (200): program aborting due to ") + event.name + " event");
    // An event before the first records reached the file leaves the old model as it was.
    if (!(oldModel && model == kOldModel)) {
      EXPECT_TRUE(wholeRecordsOf(model, in.full));
    }
  }
  EXPECT_GT(interrupted, 0);
}

}  // namespace
