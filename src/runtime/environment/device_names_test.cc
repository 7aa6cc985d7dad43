#include "runtime/environment/device_names.h"

#include <string>

#include <gtest/gtest.h>

#include "runtime/platform/system_calls.h"

namespace {

constexpr DeviceKind kFile = DeviceKind::None;
constexpr DeviceKind kOut = DeviceKind::StandardOutput;

// Each test sets the system's name rules it is about and puts the platform's back.
class DeviceNameRulesTest : public ::testing::Test {
 protected:
  void useNameRules(bool namedDevices, const char* folderMarks) {
    systemCalls().namedDevices = namedDevices;
    systemCalls().folderMarks = folderMarks;
  }
  void TearDown() override { systemCalls() = platformSystemCalls(); }
};

// The rules of a system without devices opened by name, whose only folder mark is "/".
TEST_F(DeviceNameRulesTest, BareReservedNamesAreDevicesByBaseAndExtension) {
  useNameRules(false, "/");
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
      // No such devices on such a system; backslashes are ordinary characters.
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

// Where the system opens PRN, COM1 and the like by name, and reads backslashes and drive
// letters as folder marks, as Windows does.
TEST_F(DeviceNameRulesTest, SystemsWithNamedDevicesOpenThemByName) {
  useNameRules(true, "\\/:");
  struct Case {
    const char* name;
    DeviceKind device;
  } const cases[] = {
      {"PRN", DeviceKind::Named},
      {"prn.txt", DeviceKind::Named},
      {"AUX", DeviceKind::Named},
      {"COM4.dat", DeviceKind::Named},
      {"LPT1", DeviceKind::Named},
      {"lpt1.txt", kFile},
      {"LINE", DeviceKind::Named},
      {"line.x", kFile},
      {"COM5", kFile},
      {"con.txt", kOut},
      {"dir\\con", kFile},
      {"c:nul", kFile},
  };
  for (const Case& c : cases) EXPECT_EQ(deviceForName(c.name), c.device) << c.name;
}

}  // namespace
