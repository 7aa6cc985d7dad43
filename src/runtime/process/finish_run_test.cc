// Carrying out the end of the run: how each kind of end comes out, in which order the
// files and the diagnostic are done, and which handles the ending thread may close.
#include "runtime/process/finish_run.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <string_view>
#include <thread>

#include "runtime/connections/connection.h"
#include "runtime/connections/connection_output.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"
#include "runtime/platform/scratch_path_testing.h"
#include "runtime/platform/system_calls_testing.h"
#include "runtime/process/test_end_hook.h"
#include "runtime/records/record_batch.h"

namespace {

// How the process would have ended.
struct Ended {
  enum How { Exit, Signal, Abort } how;
  int value;
};

[[noreturn]] void exitInstead(int status) {
  throw Ended{Ended::Exit, status};
}

[[noreturn]] void signalInstead(int signal) {
  throw Ended{Ended::Signal, signal};
}

[[noreturn]] void abortInstead() {
  throw Ended{Ended::Abort, 0};
}

const char* dumpFlag = nullptr;

// The dump flag as a test sets it; diagnostics stay off standard error.
const char* environmentValue(const char* name) {
  const std::string_view wanted = name;
  if (wanted == "f77_dump_flag") return dumpFlag;
  if (wanted == "FOR_DISABLE_DIAGNOSTIC_DISPLAY" || wanted == "FOR_DISABLE_STACK_TRACE") return "1";
  return nullptr;
}

std::string tempPath(const char* name) {
  return scratchPath("finish_run", name);
}

std::string contentOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Opens `path` as unit `unit`, for writing or (when `input`) for reading an empty file.
Connection& connect(int32_t unit, const std::string& path, bool input) {
  if (input) std::ofstream(path, std::ios::binary | std::ios::trunc);
  const int length = static_cast<int>(path.size());
  const Failure failure =
      input ? openInput(unit, path.data(), length) : openOutput(unit, path.data(), length);
  EXPECT_FALSE(failure) << numberOf(failure.message);
  return *lookUpConnection(unit);
}

// Commits one record of `text` to a write connection; a disk file holds it back for now.
void commitRecord(Connection& connection, std::string_view text) {
  RecordRoom room;
  ASSERT_EQ(reserveRecords(connection.output, text.size(), 1, room), ChannelStatus::Ok);
  std::memcpy(room.bytes, text.data(), text.size());
  ASSERT_EQ(commitRecords(connection.output, 1), ChannelStatus::Ok);
}

int64_t refuseWrites(FileHandle, const void*, size_t, uint64_t, SystemError* error) {
  *error = systemError(ErrorName::DiskFull);
  return -1;
}

bool closeButFail(FileHandle file, SystemError* error) {
  platformSystemCalls().closeFile(file, error);
  *error = systemError(ErrorName::Io);
  return false;
}

// A claimed end carried out on this thread, with the process's ends caught.
Ended finish(int32_t status, RunEndKind kind, const Diagnostic* notice, const RunFailure* handled,
             EndSetting setting) {
  systemCalls().exitProcess = exitInstead;
  systemCalls().endBySignal = signalInstead;
  systemCalls().abortProcess = abortInstead;
  systemCalls().environmentValue = environmentValue;
  EXPECT_TRUE(tryClaimRunEnd());
  Ended ended{Ended::Exit, -1};
  try {
    finishRun(status, kind, notice, handled, setting);
  } catch (const Ended& caught) {
    ended = caught;
  }
  resetRunForTests();
  return ended;
}

TEST(FinishRunTest, EachKindOfEndComesOutAsItShould) {
  enum Closing { Fine, HandOverRefused, CloseFails };
  struct Case {
    const char* what;
    int32_t status;
    RunEndKind kind;
    Closing closing;
    const char* dump;  // the dump flag's value, or nullptr
    EndSetting setting;
    Ended expected;
  } const cases[] = {
      {"plain stop", 0, RunEndKind::Plain, Fine, nullptr, EndSetting::Thread, {Ended::Exit, 0}},
      {"severe", 24, RunEndKind::Severe, Fine, nullptr, EndSetting::Thread, {Ended::Exit, 24}},
      {"event", 2, RunEndKind::ConsoleEvent, Fine, nullptr, EndSetting::Thread, {Ended::Exit, 2}},
      {"signal", 15, RunEndKind::Signal, Fine, nullptr, EndSetting::Thread, {Ended::Signal, 15}},
      {"hand-over refused",
       0,
       RunEndKind::Plain,
       HandOverRefused,
       nullptr,
       EndSetting::Thread,
       {Ended::Exit, 38}},
      {"close fails at a signal",
       6,
       RunEndKind::Signal,
       CloseFails,
       nullptr,
       EndSetting::Thread,
       {Ended::Exit, 28}},
      {"dump after severe",
       59,
       RunEndKind::Severe,
       Fine,
       "1",
       EndSetting::Thread,
       {Ended::Abort, 0}},
      {"dump after a closing failure",
       0,
       RunEndKind::Plain,
       HandOverRefused,
       "y",
       EndSetting::Thread,
       {Ended::Abort, 0}},
      {"no dump after a plain stop",
       0,
       RunEndKind::Plain,
       Fine,
       "1",
       EndSetting::Thread,
       {Ended::Exit, 0}},
      {"in a fault handler",
       157,
       RunEndKind::Severe,
       Fine,
       nullptr,
       EndSetting::SignalHandler,
       {Ended::Exit, 157}},
  };
  const std::string input = tempPath("input");
  const std::string output = tempPath("output");
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScopedSystemCalls restore;
    dumpFlag = c.dump;
    Connection& read = connect(1, input, true);
    const FileHandle readHandle = read.fd.load();
    if (c.closing == HandOverRefused) {
      commitRecord(connect(2, output, false), "0123456789");
      systemCalls().writeFileAt = refuseWrites;
    }
    if (c.closing == CloseFails) systemCalls().closeFile = closeButFail;
    const Ended ended = finish(c.status, c.kind, nullptr, nullptr, c.setting);
    EXPECT_EQ(ended.how, c.expected.how);
    EXPECT_EQ(ended.value, c.expected.value);
    // Inside a handler no handle is closed: the process's end closes them.
    SystemError error = 0;
    const bool stillOpen = platformSystemCalls().closeFile(readHandle, &error);
    EXPECT_EQ(stillOpen, c.setting == EndSetting::SignalHandler);
  }
  dumpFlag = nullptr;
  std::remove(input.c_str());
  std::remove(output.c_str());
}

const RunFailure* handled = nullptr;

void handleFailure(const RunFailure& failure) {
  handled = &failure;
}

TEST(FinishRunTest, AFailureHandlerTakesTheEndOnceTheConnectionsAreDone) {
  ScopedSystemCalls restore;
  setFailureHandler(handleFailure);
  RunFailure failure;
  failure.number = failure.status = 64;
  handled = nullptr;
  Ended ended = finish(64, RunEndKind::Severe, nullptr, &failure, EndSetting::Thread);
  EXPECT_EQ(handled, &failure);
  EXPECT_EQ(ended.how, Ended::Exit);
  EXPECT_EQ(ended.value, 64);
  // After a terminating signal, the process still ends by it.
  failure.kind = FailureKind::Terminate;
  ended = finish(15, RunEndKind::Signal, nullptr, &failure, EndSetting::Thread);
  EXPECT_EQ(ended.how, Ended::Signal);
  EXPECT_EQ(ended.value, 15);
  setFailureHandler(nullptr);
}

// The model file's bytes when the diagnostic reaches standard error.
std::string modelWhenNoticed;
std::string noticedModelPath;

int64_t noteModelOnStandardError(FileHandle file, const void* bytes, size_t count,
                                 SystemError* error) {
  if (file == platformSystemCalls().standardStream(StandardStream::Error)) {
    modelWhenNoticed = contentOf(noticedModelPath);
    return static_cast<int64_t>(count);
  }
  return platformSystemCalls().writeFile(file, bytes, count, error);
}

const char* listingShown(const char* name) {
  return std::string_view(name) == "FOR_DISABLE_DIAGNOSTIC_DISPLAY" ? nullptr
                                                                    : environmentValue(name);
}

TEST(FinishRunTest, RecordsReachTheFileBeforeTheDiagnosticIsWritten) {
  // However long the message and its listing take, the files are already whole: the
  // model took its last record at the event.
  ScopedSystemCalls restore;
  noticedModelPath = tempPath("noticed");
  commitRecord(connect(2, noticedModelPath, false), "0123456789");
  ASSERT_EQ(contentOf(noticedModelPath), "") << "a disk file holds the record back";
  modelWhenNoticed = "not noticed";
  systemCalls().writeFile = noteModelOnStandardError;
  Diagnostic notice;
  notice.message = Message::ConsoleEvent;
  notice.arguments[0].isText = true;
  notice.arguments[0].text = "control-C";
  notice.argumentCount = 1;
  const Ended ended = [&] {
    systemCalls().exitProcess = exitInstead;
    systemCalls().environmentValue = listingShown;
    EXPECT_TRUE(tryClaimRunEnd());
    try {
      finishRun(0, RunEndKind::ConsoleEvent, &notice, nullptr);
    } catch (const Ended& caught) {
      resetRunForTests();
      return caught;
    }
    return Ended{Ended::Exit, -1};
  }();
  EXPECT_EQ(ended.value, 0);
  EXPECT_EQ(modelWhenNoticed, "0123456789\r\n");
  std::remove(noticedModelPath.c_str());
}

std::atomic<int> closesOfOthers{0};
FileHandle othersHandle = kNoFile;

bool countClose(FileHandle file, SystemError* error) {
  if (file == othersHandle) ++closesOfOthers;
  return platformSystemCalls().closeFile(file, error);
}

TEST(FinishRunTest, AnEndOnAnotherThreadClosesNoHandleThisThreadUses) {
  // The thread that reads a file may be inside a read of it when the run ends elsewhere: a
  // handle closed under it could be given to another file before the read ends.
  ScopedSystemCalls restore;
  const std::string path = tempPath("reading");
  Connection& read = connect(1, path, true);
  othersHandle = read.fd.load();
  closesOfOthers = 0;
  systemCalls().closeFile = countClose;
  Ended ended{Ended::Exit, -1};
  std::thread ending(
      [&] { ended = finish(0, RunEndKind::ConsoleEvent, nullptr, nullptr, EndSetting::Thread); });
  ending.join();
  EXPECT_EQ(ended.value, 0);
  EXPECT_EQ(closesOfOthers.load(), 0);
  SystemError error = 0;
  EXPECT_TRUE(platformSystemCalls().closeFile(othersHandle, &error)) << "still open";
  std::remove(path.c_str());
}

}  // namespace
