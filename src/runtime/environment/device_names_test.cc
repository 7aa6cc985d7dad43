#include "runtime/environment/device_names.h"

#include <string>

#include <gtest/gtest.h>

namespace {

constexpr DeviceKind kFile = DeviceKind::None;
constexpr DeviceKind kOut = DeviceKind::StandardOutput;

TEST(DeviceNameTest, BareReservedNamesAreDevicesByBaseAndExtension) {
  struct Case {
    const char* name;
    DeviceKind device;
  } const cases[] = {
      {"CON", kOut},
      {"con", kOut},
      {"Con.txt", kOut},
      {"con.", kOut},  // a full stop with nothing behind it is no extension
      {"CONOUT$", kOut},
      {"conout$", kOut},
      {"USER", kOut},
      {"user.", kOut},
      {"CONIN$", DeviceKind::StandardInput},
      {"ERR", DeviceKind::StandardError},
      {"err", DeviceKind::StandardError},
      {"NUL", DeviceKind::Null},
      {"nul.dat", DeviceKind::Null},
      {"NuL.a", DeviceKind::Null},
      // With an extension, names beginning with E, L or U, and the console buffers.
      {"err.log", kFile},
      {"user.dat", kFile},
      {"CONOUT$.txt", kFile},
      {"conin$.x", kFile},
      // No such devices on this platform.
      {"PRN", kFile},
      {"COM1", kFile},
      {"LPT1", kFile},
      {"lpt1.txt", kFile},
      {"AUX", kFile},
      {"LINE", kFile},
      // The base is everything before the last full stop.
      {"con.txt.txt", kFile},
      {"nul.", DeviceKind::Null},
      {".con", kFile},
      {"con..", kFile},
      // Not the name itself.
      {"cons", kFile},
      {"co", kFile},
      {"conout", kFile},
      {"con\t", kFile},
      {"", kFile},
      // A directory part makes any name a file.
      {"./con", kFile},
      {"dir/nul.dat", kFile},
      {"/CON", kFile},
  };
  for (const Case& c : cases) EXPECT_EQ(deviceForName(c.name), c.device) << c.name;
}

}  // namespace
