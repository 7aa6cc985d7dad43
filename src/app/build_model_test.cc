// A model build as a library's caller sees it: it returns its failure, closes what it
// opened, claims no end of the run, stops when asked, and opens nothing once the run is
// ending elsewhere.
#include "app/build_model.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "freeform/text_connection_testing.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"
#include "runtime/ending/run_end.h"
#include "runtime/platform/scratch_path_testing.h"
#include "runtime/platform/system_calls_testing.h"
#include "runtime/process/console_events.h"

namespace {

namespace fs = std::filesystem;

std::string tempPath(const std::string& name) {
  return scratchPath("build_model", name);
}

void writeText(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

std::string contentOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string nameBuffer(const std::string& path) {
  std::string name = path;
  name.resize(200, ' ');
  return name;
}

// The lowest free handle number; one left open by a build raises it.
FileHandle lowestFreeHandle() {
  SystemError error = 0;
  const FileHandle probe = systemCalls().openFile("/", OpenIntent::Read, &error);
  systemCalls().closeFile(probe, &error);
  return probe;
}

struct Built {
  Failure failure;
  BuildStep step = BuildStep::Mesh;
};

Built build(const std::string& mesh, const std::string& blocks, const std::string& model,
            const std::atomic<bool>* stop = nullptr) {
  Built built;
  built.failure = buildModel(nameBuffer(mesh).c_str(), nameBuffer(blocks).c_str(),
                             nameBuffer(model).c_str(), &built.step, stop);
  return built;
}

constexpr char kMesh[] = "3 2 2\n0 0 0\n3*1\n2*1\n2*1\n";
constexpr char kBlocks[] = "1.5\n1\n0 1 0 1 0 -1 7\n";

TEST(BuildModelTest, AFailureComesBackWithItsStepAndLeavesNothingOpen) {
  const std::string mesh = tempPath("mesh.txt");
  const std::string blocks = tempPath("blocks.inp");
  const std::string badMesh = tempPath("bad_mesh.txt");
  const std::string badBlocks = tempPath("bad_blocks.inp");
  const std::string model = tempPath("model.txt");
  writeText(mesh, kMesh);
  writeText(blocks, kBlocks);
  writeText(badMesh, "3 2 2\n0 0 0\n3*1\n2*1\n");
  writeText(badBlocks, "1.5\n1\n0 1 0 ; 1 0 -1 7\n");
  const std::string missing = tempPath("missing/none.txt");
  struct Case {
    const char* what;
    std::string mesh, blocks, model;
    Message message;
    BuildStep step;
    bool modelKept;  // the old model file is left as it was
  } const cases[] = {
      {"built", mesh, blocks, model, Message::None, BuildStep::Mesh, false},
      {"no mesh", missing, blocks, model, Message::FileNotFound, BuildStep::Mesh, true},
      {"short mesh", badMesh, blocks, model, Message::EndOfFile, BuildStep::Mesh, true},
      {"no blocks", mesh, missing, model, Message::FileNotFound, BuildStep::Blocks, true},
      {"bad blocks", mesh, badBlocks, model, Message::SyntaxError, BuildStep::Blocks, true},
      {"no model folder", mesh, blocks, missing, Message::FileNotFound, BuildStep::Model, true},
  };
  QuietDiagnostics quiet;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    writeText(model, "old\r\n");
    const FileHandle freeHandle = lowestFreeHandle();
    const Built built = build(c.mesh, c.blocks, c.model);
    EXPECT_EQ(built.failure.message, c.message);
    if (built.failure) {
      EXPECT_EQ(built.step, c.step);
    }
    EXPECT_EQ(isOpenRefusal(built.failure), c.message == Message::FileNotFound);
    EXPECT_EQ(contentOf(model) == "old\r\n", c.modelKept);
    EXPECT_EQ(lowestFreeHandle(), freeHandle) << "a handle left open";
    for (int32_t unit : {1, 2, -1}) EXPECT_EQ(lookUpConnection(unit), nullptr);
    EXPECT_TRUE(tryClaimRunEnd()) << "the end of the run is left to the caller";
    forgetRunEndForTests();
  }
  for (const std::string& path : {mesh, blocks, badMesh, badBlocks, model}) {
    std::remove(path.c_str());
  }
}

std::atomic<bool>* stopFlag = nullptr;

int64_t stopOnFirstWrite(FileHandle file, const void* bytes, size_t count, uint64_t offset,
                         SystemError* error) {
  stopFlag->store(true);
  return platformSystemCalls().writeFileAt(file, bytes, count, offset, error);
}

TEST(BuildModelTest, AStopAskedForEndsTheWritingWithWholeRecords) {
  // A model of many pieces; the stop is asked for once the first buffer is handed over.
  const std::string mesh = tempPath("long_mesh.txt");
  const std::string blocks = tempPath("long_blocks.inp");
  const std::string model = tempPath("long_model.txt");
  writeText(mesh, "200 200 100\n0 0 0\n200*1\n200*1\n100*1\n");
  writeText(blocks, "1.5\n1\n0 100 0 100 0 -50 7\n");
  ASSERT_FALSE(build(mesh, blocks, model).failure);
  const std::string whole = contentOf(model);
  std::atomic<bool> stop{false};
  stopFlag = &stop;
  Built built;
  {
    ScopedSystemCalls restore;
    systemCalls().writeFileAt = stopOnFirstWrite;
    built = build(mesh, blocks, model, &stop);
  }
  EXPECT_EQ(built.failure.message, Message::ConsoleEvent);
  EXPECT_EQ(built.step, BuildStep::Model);
  const std::string stopped = contentOf(model);
  EXPECT_GT(stopped.size(), 0u);
  EXPECT_LT(stopped.size(), whole.size());
  EXPECT_EQ(stopped.size() % 12, 0u) << "whole records only";
  EXPECT_EQ(whole.compare(0, stopped.size(), stopped), 0);
  for (int32_t unit : {1, 2, -1}) EXPECT_EQ(lookUpConnection(unit), nullptr);

  // A stop asked for while the blocks are read ends the build before the model opens.
  const Built early = build(mesh, blocks, model, &stop);
  EXPECT_EQ(early.failure.message, Message::ConsoleEvent);
  EXPECT_EQ(early.step, BuildStep::Blocks);
  EXPECT_EQ(contentOf(model), stopped) << "the model file is left as it was";
  for (int32_t unit : {1, 2, -1}) EXPECT_EQ(lookUpConnection(unit), nullptr);
  for (const std::string& path : {mesh, blocks, model}) std::remove(path.c_str());
}

[[noreturn]] void throwStatus(int status) {
  throw status;
}

// Control-C, taken on a thread of its own as the process's event thread takes it, once the
// name of the model file is being resolved: the last moment before the file is opened.
int64_t interruptBeforeTheModelOpens(const char* name, char* path, size_t capacity) {
  if (std::string(name).find("event_model") != std::string::npos) {
    std::thread events([] {
      try {
        onConsoleEvent(ConsoleEvent::Interrupt);
      } catch (int) {
      }
    });
    events.join();
  }
  return platformSystemCalls().fullPath(name, path, capacity);
}

TEST(BuildModelTest, AnEventBeforeTheModelOpensLeavesNoNewFile) {
  const std::string mesh = tempPath("event_mesh.txt");
  const std::string blocks = tempPath("event_blocks.inp");
  const std::string model = tempPath("event_model.txt");
  writeText(mesh, kMesh);
  writeText(blocks, kBlocks);
  std::remove(model.c_str());
  QuietDiagnostics quiet;
  Built built;
  {
    ScopedSystemCalls restore;
    systemCalls().fullPath = interruptBeforeTheModelOpens;
    setProcessEndHook(throwStatus);
    built = build(mesh, blocks, model);
    setProcessEndHook(nullptr);
  }
  EXPECT_TRUE(runEndingElsewhere());
  forgetRunEndForTests();
  discardAllConnections();
  EXPECT_EQ(built.failure.message, Message::ConsoleEvent) << "the build stops";
  EXPECT_EQ(built.step, BuildStep::Model);
  EXPECT_FALSE(fs::exists(model)) << "a run that is ending opens nothing";
  for (const std::string& path : {mesh, blocks}) std::remove(path.c_str());
}

}  // namespace
