#include "runtime/platform/console_control.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "runtime/process/console_events.h"
#include "runtime/process/test_end_hook.h"

namespace {

// Standard error of the run under test: a file, read back after the run.
FileHandle errorFile = kNoFile;

FileHandle standardStreamToFile(StandardStream stream) {
  return stream == StandardStream::Error ? errorFile : platformSystemCalls().standardStream(stream);
}

// The system hands each event to the handler on a thread of its own; here the test calls
// the handler as the system would, since the test bench cannot close a console window.
TEST(ConsoleControlTest, EachEventEndsTheRunWithItsMessageAndStatus) {
  struct Case {
    DWORD type;
    const char* line;
    int status;
  } const cases[] = {
      {CTRL_C_EVENT, "forrtl: error (200): program aborting due to control-C event", 0},
      {CTRL_BREAK_EVENT, "forrtl: error (200): program aborting due to control-BREAK event", 1},
      {CTRL_CLOSE_EVENT, "forrtl: error (200): program aborting due to window-CLOSE event", 2},
  };
  ProcessEventHandlers handlers;
  handlers.consoleEvent = onConsoleEvent;
  systemCalls().watchProcessEvents(handlers);
  const std::string path = (std::filesystem::temp_directory_path() / "console_control").string();
  for (const Case& c : cases) {
    SystemError error = 0;
    errorFile = platformSystemCalls().openFile(path.c_str(), OpenIntent::Write, &error);
    ASSERT_NE(errorFile, kNoFile);
    platformSystemCalls().cutFile(errorFile, 0, &error);
    systemCalls().standardStream = standardStreamToFile;
    const int status = endStatusOf([&] { takeConsoleControl(c.type); });
    systemCalls() = platformSystemCalls();
    platformSystemCalls().closeFile(errorFile, &error);
    std::ifstream text(path, std::ios::binary);
    std::string line;
    std::getline(text, line);
    EXPECT_EQ(status, c.status) << c.line;
    EXPECT_EQ(line, c.line);
  }
  std::filesystem::remove(path);
}

TEST(ConsoleControlTest, LogOffAndShutDownAreDeclined) {
  ProcessEventHandlers handlers;
  handlers.consoleEvent = onConsoleEvent;
  systemCalls().watchProcessEvents(handlers);
  EXPECT_FALSE(takeConsoleControl(CTRL_LOGOFF_EVENT));
  EXPECT_FALSE(takeConsoleControl(CTRL_SHUTDOWN_EVENT));
}

}  // namespace
