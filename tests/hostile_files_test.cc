// Files that are not what a careful user would hand over: inputs that vanish or change
// between runs, pipes in place of files, names with odd bytes, names at the length limit,
// and symbolic links that lead elsewhere, nowhere or in a circle.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "support/run_boxpaint.h"
#include "support/worked_example.h"

namespace {

std::string notFound(const std::string& name) {
  return " File " + name + " not found.\r\n";
}

void writeFileAt(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

void pauseBriefly() {
  timespec pause{0, 200000};
  nanosleep(&pause, nullptr);
}

// ---------------------------------------------------------------------------------------
// Inputs that vanish or change between runs of the same command.

struct Step {
  const char* name;
  std::function<void(const TempDir&)> change;  // done to the files before the run
  int status;
  std::string out;    // standard output, "" when none
  std::string model;  // the model file afterwards
};

TEST(ChangingInputsTest, EachRunSeesTheFilesAsTheyAreThen) {
  TempDir dir;
  dir.write("mesh.txt", kMesh);
  dir.write("blocks.inp", kBlocks);
  const std::string kSmallModel = crlfRecords({" 5.000E+00", " 5.000E+00"});
  const Step steps[] = {
      {"both files there", [](const TempDir&) {}, 0, "", kModel},
      {"block file removed", [](const TempDir& d) { unlink(d.file("blocks.inp").c_str()); }, 0,
       notFound("blocks.inp"), kModel},
      {"mesh file removed",
       [](const TempDir& d) {
         d.write("blocks.inp", kBlocks);
         unlink(d.file("mesh.txt").c_str());
       },
       0, notFound("mesh.txt"), kModel},
      {"both back, smaller",
       [](const TempDir& d) {
         d.write("mesh.txt", "1 1 2\n0 0 10\n1\n1\n1 1\n");
         d.write("blocks.inp", "5\n0\n");
       },
       0, "", kSmallModel},
      {"mesh file now a directory",
       [](const TempDir& d) {
         unlink(d.file("mesh.txt").c_str());
         mkdir(d.file("mesh.txt").c_str(), 0755);
       },
       0, notFound("mesh.txt"), kSmallModel},
      {"mesh file now empty",
       [](const TempDir& d) {
         rmdir(d.file("mesh.txt").c_str());
         d.write("mesh.txt", "");
       },
       24, "", kSmallModel},
      {"block file cut short",
       [](const TempDir& d) {
         d.write("mesh.txt", kMesh);
         d.write("blocks.inp", "0\n1\n10 30 0 10");
       },
       24, "", kSmallModel},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    step.change(dir);
    RunResult run =
        runBoxpaint({.args = {"mesh.txt", "blocks.inp", "model.txt"}, .directory = dir.path()});
    EXPECT_EQ(run.termSignal, 0);
    EXPECT_EQ(run.status, step.status);
    EXPECT_EQ(run.out, step.out);
    EXPECT_EQ(readFile(dir.file("model.txt")), step.model);
  }
}

TEST(ChangingInputsTest, ModelNamedLikeTheMeshReplacesItAfterReading) {
  TempDir dir;
  dir.write("mesh.txt", kMesh);
  dir.write("blocks.inp", kBlocks);
  RunResult run =
      runBoxpaint({.args = {"mesh.txt", "blocks.inp", "mesh.txt"}, .directory = dir.path()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(readFile(dir.file("mesh.txt")), kModel);
}

// ---------------------------------------------------------------------------------------
// Pipes in place of files.

// The whole model of 100 x 100 x 10 cells, more than a pipe holds at once.
struct PipeModel {
  TempDir dir;
  std::string full;
  PipeModel() {
    dir.write("mesh.txt", "100 100 10\n0 0 1000\n100*1\n100*1\n10*1\n");
    dir.write("blocks.inp", "1.5\n1\n10 30 0 10 800 1000 7\n");
    runBoxpaint({.args = {"mesh.txt", "blocks.inp", "full.txt"}, .directory = dir.path()});
    full = readFile(dir.file("full.txt"));
    EXPECT_EQ(mkfifo(dir.file("model.pipe").c_str(), 0644), 0);
  }
  RunOptions options() const {
    return {.args = {"mesh.txt", "blocks.inp", "model.pipe"}, .directory = dir.path()};
  }
};

TEST(PipeTest, ModelPipeWithSlowReaderGetsTheWholeModel) {
  PipeModel pipe;
  // Opened for reading and writing, the pipe never blocks its opener, and the run's
  // open finds a reader at once.
  int fd = open(pipe.dir.file("model.pipe").c_str(), O_RDWR | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  std::atomic<bool> runEnded{false};
  std::string received;
  std::thread reader([&] {
    char buffer[4096];
    while (received.size() < pipe.full.size()) {
      pollfd ready{fd, POLLIN, 0};
      if (poll(&ready, 1, 10) == 0) {
        if (runEnded) break;  // nothing more will come
        continue;
      }
      ssize_t n = read(fd, buffer, sizeof buffer);
      if (n <= 0) break;
      received.append(buffer, static_cast<size_t>(n));
      pauseBriefly();
    }
  });
  RunResult run = runBoxpaint(pipe.options());
  runEnded = true;
  reader.join();
  close(fd);
  EXPECT_EQ(run.termSignal, 0);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(received.size(), pipe.full.size());
  EXPECT_TRUE(received == pipe.full);
}

TEST(PipeTest, ModelPipeWhoseReaderLeavesEndsWith38) {
  PipeModel pipe;
  int fd = open(pipe.dir.file("model.pipe").c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  std::atomic<bool> runEnded{false};
  std::thread reader([&] {
    // Takes the first records, then goes away while the run still writes.
    size_t received = 0;
    char buffer[1000];
    while (received < sizeof buffer && !runEnded) {
      pollfd ready{fd, POLLIN, 0};
      poll(&ready, 1, 10);
      ssize_t n = read(fd, buffer, sizeof buffer - received);
      if (n > 0) received += static_cast<size_t>(n);
    }
    close(fd);
  });
  RunResult run = runBoxpaint(pipe.options());
  runEnded = true;
  reader.join();
  EXPECT_EQ(run.termSignal, 0);
  EXPECT_EQ(run.status, 38);
  EXPECT_EQ(firstLine(run.err),
            "forrtl: severe (38): error during write, unit 2, file " + pipe.dir.file("model.pipe"));
}

// Feeds `pieces` into the pipe at `path`, each only once the run has taken all of the
// one before, so that every read of the run returns exactly one piece.
class PieceWriter {
 public:
  PieceWriter(const std::string& path, std::vector<std::string> pieces)
      : fd_(open(path.c_str(), O_RDWR | O_CLOEXEC)), pieces_(std::move(pieces)) {
    thread_ = std::thread([this] { feed(); });
  }
  ~PieceWriter() {
    runEnded_ = true;
    thread_.join();
  }

 private:
  void feed() {
    for (const std::string& piece : pieces_) {
      if (write(fd_, piece.data(), piece.size()) != static_cast<ssize_t>(piece.size())) break;
      int unread = 1;
      while (!runEnded_ && ioctl(fd_, FIONREAD, &unread) == 0 && unread > 0) pauseBriefly();
    }
    close(fd_);  // the end of the file for the run
  }

  int fd_;
  std::vector<std::string> pieces_;
  std::atomic<bool> runEnded_{false};
  std::thread thread_;
};

TEST(PipeTest, InputPipesDeliveringLinesInPiecesReadLikeFiles) {
  TempDir dir;
  ASSERT_EQ(mkfifo(dir.file("mesh.pipe").c_str(), 0644), 0);
  ASSERT_EQ(mkfifo(dir.file("blocks.pipe").c_str(), 0644), 0);
  RunResult run;
  {
    // Pieces end inside numbers and inside lines: a short read is no line end.
    PieceWriter mesh(dir.file("mesh.pipe"),
                     {"3 2 2\n0 0 1", "00\n10 1", "0 10\n10 10\n1", "0 10\n"});
    PieceWriter blocks(dir.file("blocks.pipe"), {"0\n1\n10 3", "0 0 10 80 1", "00 7"});
    run = runBoxpaint({.args = {"mesh.pipe", "blocks.pipe", "model.txt"}, .directory = dir.path()});
  }
  EXPECT_EQ(run.termSignal, 0);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(readFile(dir.file("model.txt")), kModel);
}

// ---------------------------------------------------------------------------------------
// Names: odd bytes, blanks at the ends, the length limit.

TEST(OddNameTest, EveryByteOfANameReachesTheFile) {
  const std::string names[] = {
      "with blanks.txt",
      "quote\"double'single.txt",
      "new\nline.txt",
      "tab\tinside.txt",
      "caf\xc3\xa9 \xff\xfe.txt",
      "\"\"",
      "-inp",
  };
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    TempDir dir;
    dir.write("mesh " + name, kMesh);
    dir.write("blocks " + name, kBlocks);
    RunResult run = runBoxpaint(
        {.args = {"mesh " + name, "blocks " + name, "model " + name}, .directory = dir.path()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readFile(dir.file("model " + name)), kModel);

    RunResult missing = runBoxpaint(
        {.args = {"absent " + name, "blocks " + name, "model2"}, .directory = dir.path()});
    EXPECT_EQ(missing.status, 0);
    EXPECT_EQ(missing.out, notFound("absent " + name));
    EXPECT_FALSE(fileExists(dir.file("model2")));
  }
}

TEST(OddNameTest, BlanksAroundANameAreNotPartOfIt) {
  TempDir dir;
  dir.write("mesh.txt", kMesh);
  dir.write("blocks.inp", kBlocks);
  RunResult run = runBoxpaint(
      {.args = {"   mesh.txt", "blocks.inp   ", "  model.txt  "}, .directory = dir.path()});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(readFile(dir.file("model.txt")), kModel);
}

TEST(LongNameTest, NamesAreCutTo200Characters) {
  TempDir dir;
  const std::string name200 = std::string(196, 'n') + ".txt";
  dir.write(name200, kMesh);
  dir.write("blocks.inp", kBlocks);
  struct Case {
    const char* name;
    std::string model;   // the model argument
    std::string stored;  // the file that receives the model
  } const cases[] = {
      {"exactly 200", std::string(200, 'm'), std::string(200, 'm')},
      {"230, cut", std::string(200, 'c') + std::string(30, 'x'), std::string(200, 'c')},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    RunResult run =
        runBoxpaint({.args = {name200, "blocks.inp", c.model}, .directory = dir.path()});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(readFile(dir.file(c.stored)), kModel);
  }
  EXPECT_FALSE(fileExists(dir.file(std::string(200, 'c') + std::string(30, 'x'))));
}

TEST(LongNameTest, FullPathBeyond256CharactersFallsBackToTheNameAsGiven) {
  TempDir dir;
  // A working directory deep enough that no 200-character name fits a 256-character path.
  std::string deep = dir.file(std::string(80, 'd'));
  ASSERT_EQ(mkdir(deep.c_str(), 0755), 0);
  const std::string mesh = std::string(196, 'n') + ".txt";
  const std::string model = std::string(196, 'm') + ".txt";
  std::string meshPath = deep + "/" + mesh;
  std::string blocksPath = deep + "/blocks.inp";
  writeFileAt(meshPath, kMesh);
  writeFileAt(blocksPath, kBlocks);
  RunResult run = runBoxpaint({.args = {mesh, "blocks.inp", model}, .directory = deep});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  EXPECT_EQ(readFile(deep + "/" + model), kModel);

  // A failure names the file as given, since its full path does not fit.
  writeFileAt(meshPath, "3 2 2\n");
  run = runBoxpaint({.args = {mesh, "blocks.inp", model}, .directory = deep});
  EXPECT_EQ(run.status, 24);
  EXPECT_EQ(firstLine(run.err),
            "forrtl: severe (24): end-of-file during read, unit 1, file " + mesh);
}

// ---------------------------------------------------------------------------------------
// Symbolic links.

struct LinkCase {
  const char* name;
  std::vector<std::pair<std::string, std::string>> links;  // link name, target
  std::vector<std::string> args;
  int status;
  std::string out;             // standard output
  std::string firstErrorLine;  // "" when no diagnostic; "@" stands for the directory
  std::string modelAt;         // file that must hold the model afterwards, "" when none
};

void PrintTo(const LinkCase& c, std::ostream* out) {
  *out << c.name;
}

class SymbolicLinkTest : public testing::TestWithParam<LinkCase> {};

TEST_P(SymbolicLinkTest, LinksAreFollowedAndBrokenOnesReported) {
  const LinkCase& c = GetParam();
  TempDir dir;
  dir.write("mesh.txt", kMesh);
  dir.write("blocks.inp", kBlocks);
  dir.write("old.txt", "old content\n");
  mkdir(dir.file("folder").c_str(), 0755);
  for (const auto& [link, target] : c.links) {
    ASSERT_EQ(symlink(target.c_str(), dir.file(link).c_str()), 0);
  }
  RunResult run = runBoxpaint({.args = c.args, .directory = dir.path()});
  EXPECT_EQ(run.termSignal, 0);
  EXPECT_EQ(run.status, c.status);
  EXPECT_EQ(run.out, c.out);
  std::string expectedError = c.firstErrorLine;
  if (size_t at = expectedError.find('@'); at != std::string::npos) {
    expectedError.replace(at, 1, dir.path());
  }
  EXPECT_EQ(firstLine(run.err), expectedError);
  if (!c.modelAt.empty()) {
    EXPECT_EQ(readFile(dir.file(c.modelAt)), kModel);
  }
  // Links are used, never replaced.
  for (const auto& [link, target] : c.links) {
    struct stat info;
    EXPECT_EQ(lstat(dir.file(link).c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode)) << link;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Links, SymbolicLinkTest,
    testing::Values(LinkCase{"meshThroughLink",
                             {{"link", "mesh.txt"}},
                             {"link", "blocks.inp", "model.txt"},
                             0,
                             "",
                             "",
                             "model.txt"},
                    LinkCase{"danglingMesh",
                             {{"link", "nothing.txt"}},
                             {"link", "blocks.inp", "model.txt"},
                             0,
                             notFound("link"),
                             "",
                             ""},
                    LinkCase{"meshLoop",
                             {{"a", "b"}, {"b", "a"}},
                             {"a", "blocks.inp", "model.txt"},
                             0,
                             notFound("a"),
                             "",
                             ""},
                    LinkCase{"blocksLoop",
                             {{"a", "b"}, {"b", "a"}},
                             {"mesh.txt", "a", "model.txt"},
                             0,
                             notFound("a"),
                             "",
                             ""},
                    LinkCase{"modelThroughLinkReplacesTarget",
                             {{"link", "old.txt"}},
                             {"mesh.txt", "blocks.inp", "link"},
                             0,
                             "",
                             "",
                             "old.txt"},
                    LinkCase{"danglingModelCreatesTarget",
                             {{"link", "created.txt"}},
                             {"mesh.txt", "blocks.inp", "link"},
                             0,
                             "",
                             "",
                             "created.txt"},
                    LinkCase{"modelLoop",
                             {{"a", "b"}, {"b", "a"}},
                             {"mesh.txt", "blocks.inp", "a"},
                             30,
                             "",
                             "forrtl: severe (30): open failure, unit 2, file @/a",
                             ""},
                    LinkCase{
                        "modelLinkToFolder",
                        {{"link", "folder"}},
                        {"mesh.txt", "blocks.inp", "link"},
                        9,
                        "",
                        "forrtl: severe (9): permission to access file denied, unit 2, file @/link",
                        ""}),
    [](const testing::TestParamInfo<LinkCase>& info) { return info.param.name; });

}  // namespace
