#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/platform/system_calls.h"

namespace {

TEST(OpenErrorTest, MapsEachReasonToItsMessage) {
  struct Case {
    DWORD error;
    int32_t number;
  } const cases[] = {
      {ERROR_FILE_NOT_FOUND, 29},
      {ERROR_PATH_NOT_FOUND, 29},
      {ERROR_ACCESS_DENIED, 9},
      {ERROR_WRITE_PROTECT, 9},
      {ERROR_INVALID_DRIVE, 42},
      {ERROR_BAD_UNIT, 42},
      {ERROR_NOT_READY, 42},
      {ERROR_BAD_NETPATH, 42},
      {ERROR_DEV_NOT_EXIST, 42},
      {ERROR_FILE_EXISTS, 10},
      {ERROR_ALREADY_EXISTS, 10},
      {ERROR_INVALID_NAME, 43},
      {ERROR_FILENAME_EXCED_RANGE, 43},
      {ERROR_BAD_PATHNAME, 43},
      {ERROR_DIRECTORY, 43},
      {ERROR_SHARING_VIOLATION, 30},
      {ERROR_LOCK_VIOLATION, 30},
      {ERROR_TOO_MANY_OPEN_FILES, 30},
      {ERROR_DISK_FULL, 30},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(openRefusalMessage(static_cast<SystemError>(c.error)), c.number) << c.error;
  }
}

}  // namespace
