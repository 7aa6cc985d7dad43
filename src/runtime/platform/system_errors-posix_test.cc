#include <cerrno>

#include <gtest/gtest.h>

#include "runtime/platform/system_calls.h"

namespace {

TEST(OpenErrorTest, MapsEachReasonToItsMessage) {
  struct Case {
    int error;
    int32_t number;
  } const cases[] = {
      {ENOENT, 29}, {ENOTDIR, 29}, {EACCES, 9},  {EPERM, 9},         {EROFS, 9},   {EISDIR, 9},
      {ENXIO, 42},  {ENODEV, 42},  {EEXIST, 10}, {ENAMETOOLONG, 43}, {EINVAL, 43}, {EMFILE, 30},
      {ENFILE, 30}, {ETXTBSY, 30}, {EBUSY, 30},  {ELOOP, 30},        {ENOSPC, 30},
  };
  for (const Case& c : cases) EXPECT_EQ(openRefusalMessage(c.error), c.number) << c.error;
}

}  // namespace
