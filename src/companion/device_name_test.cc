#include "companion/device_name.h"

#include <gtest/gtest.h>

namespace {

TEST(NamedDeviceTest, TellsTheDevicesBoxpaintOrTheSystemTakesANameFor) {
  struct Case {
    const char* name;
    DeviceKind kind;
    const char* words;
  };
  const Case cases[] = {
    {"con.txt", DeviceKind::StandardOutput, "the device CON (standard output)"},
    {" Nul.mod ", DeviceKind::Null, "the device NUL (the null device)"},
    {"CONIN$", DeviceKind::StandardInput, "the device CONIN$ (standard input)"},
    {"err", DeviceKind::StandardError, "the device ERR (standard error)"},
    {"err.log", DeviceKind::None, ""},
    {"model.txt", DeviceKind::None, ""},
    {"", DeviceKind::None, ""},
#if defined(_WIN32)
    // Windows makes devices of these itself.
    {"sub\\CON", DeviceKind::Named, "the device CON (a device of the system)"},
    {"conout$.txt", DeviceKind::Named, "the device CONOUT$ (a device of the system)"},
    {"com1.txt", DeviceKind::Named, "the device COM1 (a device of the system)"},
#else
    {"sub/con", DeviceKind::None, ""},
    {"conout$.txt", DeviceKind::None, ""},
    {"com1.txt", DeviceKind::None, ""},
#endif
  };
  for (const Case& c : cases) {
    const NamedDevice device = namedDevice(c.name);
    EXPECT_EQ(device.kind, c.kind) << c.name;
    EXPECT_EQ(device.words, c.words) << c.name;
  }
}

}  // namespace
