// The one owner of the end of the run: who may claim it, and how each kind of end comes
// out once the connections are closed.
#include "runtime/ending/run_end.h"

#include <gtest/gtest.h>

#include <string_view>
#include <thread>

#include "runtime/ending/failure_handler.h"
#include "runtime/platform/system_calls_testing.h"

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

int32_t closingFailure = 0;
EndSetting closedIn = EndSetting::Thread;

int32_t closeAll(int64_t, EndSetting setting) {
  closedIn = setting;
  return closingFailure;
}

const char* dumpFlag = nullptr;

const char* environmentValue(const char* name) {
  return std::string_view(name) == "f77_dump_flag" ? dumpFlag : nullptr;
}

const RunFailure* handled = nullptr;

void handleFailure(const RunFailure& failure) {
  handled = &failure;
}

// The end of a run claimed on this thread, with the process's ends caught.
Ended finish(int32_t status, RunEndKind kind, const RunFailure* failure, EndSetting setting) {
  ScopedSystemCalls restore;
  systemCalls().exitProcess = exitInstead;
  systemCalls().endBySignal = signalInstead;
  systemCalls().abortProcess = abortInstead;
  systemCalls().environmentValue = environmentValue;
  setConnectionCloser(closeAll);
  EXPECT_TRUE(tryClaimRunEnd());
  try {
    finishRun(status, kind, failure, setting);
  } catch (const Ended& ended) {
    forgetRunEndForTests();
    setConnectionCloser(nullptr);
    return ended;
  }
  return {Ended::Exit, -1};
}

TEST(RunEndTest, OnlyTheFirstThreadClaimsTheEnd) {
  EXPECT_FALSE(runEndingElsewhere());
  ASSERT_TRUE(tryClaimRunEnd());
  EXPECT_TRUE(tryClaimRunEnd()) << "the owner may claim again";
  EXPECT_FALSE(runEndingElsewhere());
  bool otherClaimed = true;
  bool otherSeesEnding = false;
  std::thread other([&] {
    otherClaimed = tryClaimRunEnd();
    otherSeesEnding = runEndingElsewhere();
  });
  other.join();
  EXPECT_FALSE(otherClaimed);
  EXPECT_TRUE(otherSeesEnding);
  forgetRunEndForTests();
}

TEST(RunEndTest, EachKindOfEndComesOutAsItShould) {
  struct Case {
    const char* what;
    int32_t status;
    RunEndKind kind;
    int32_t closing;   // the failure met while closing, or 0
    const char* dump;  // the dump flag's value, or nullptr
    EndSetting setting;
    Ended expected;
  } const cases[] = {
      {"plain stop", 0, RunEndKind::Plain, 0, nullptr, EndSetting::Thread, {Ended::Exit, 0}},
      {"severe", 24, RunEndKind::Severe, 0, nullptr, EndSetting::Thread, {Ended::Exit, 24}},
      {"event", 2, RunEndKind::ConsoleEvent, 0, nullptr, EndSetting::Thread, {Ended::Exit, 2}},
      {"signal", 15, RunEndKind::Signal, 0, nullptr, EndSetting::Thread, {Ended::Signal, 15}},
      {"closing fails", 0, RunEndKind::Plain, 38, nullptr, EndSetting::Thread, {Ended::Exit, 38}},
      {"closing fails at a signal",
       6,
       RunEndKind::Signal,
       28,
       nullptr,
       EndSetting::Thread,
       {Ended::Exit, 28}},
      {"dump after severe", 59, RunEndKind::Severe, 0, "1", EndSetting::Thread, {Ended::Abort, 0}},
      {"dump after a closing failure",
       0,
       RunEndKind::Plain,
       38,
       "y",
       EndSetting::Thread,
       {Ended::Abort, 0}},
      {"no dump after a plain stop",
       0,
       RunEndKind::Plain,
       0,
       "1",
       EndSetting::Thread,
       {Ended::Exit, 0}},
      {"in a fault handler",
       157,
       RunEndKind::Severe,
       0,
       nullptr,
       EndSetting::SignalHandler,
       {Ended::Exit, 157}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    closingFailure = c.closing;
    dumpFlag = c.dump;
    const Ended ended = finish(c.status, c.kind, nullptr, c.setting);
    EXPECT_EQ(ended.how, c.expected.how);
    EXPECT_EQ(ended.value, c.expected.value);
    EXPECT_EQ(closedIn, c.setting) << "the connections are closed as the setting allows";
  }
  dumpFlag = nullptr;
  closingFailure = 0;
}

TEST(RunEndTest, AFailureHandlerTakesTheEndOnceTheConnectionsAreClosed) {
  setFailureHandler(handleFailure);
  RunFailure failure;
  failure.number = failure.status = 64;
  handled = nullptr;
  Ended ended = finish(64, RunEndKind::Severe, &failure, EndSetting::Thread);
  EXPECT_EQ(handled, &failure);
  EXPECT_EQ(ended.how, Ended::Exit);
  EXPECT_EQ(ended.value, 64);
  // After a terminating signal, the process still ends by it.
  failure.kind = FailureKind::Terminate;
  ended = finish(15, RunEndKind::Signal, &failure, EndSetting::Thread);
  EXPECT_EQ(ended.how, Ended::Signal);
  EXPECT_EQ(ended.value, 15);
  setFailureHandler(nullptr);
}

}  // namespace
