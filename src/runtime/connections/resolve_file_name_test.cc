#include "runtime/connections/resolve_file_name.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/platform/system_calls.h"

namespace {

// The current directory of the system these tests stand on.
const std::string kDirectory = "/work/run";

// Full paths as a system whose current directory is kDirectory makes them.
int64_t fullPathUnderDirectory(const char* name, char* path, size_t capacity) {
  const std::string full = name[0] == '/' ? std::string(name) : kDirectory + "/" + name;
  if (full.size() >= capacity) return -1;
  std::memcpy(path, full.c_str(), full.size() + 1);
  return static_cast<int64_t>(full.size());
}

// Resolves names against kDirectory, whatever the platform, with its device rules.
class ResolveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    systemCalls().fullPath = fullPathUnderDirectory;
    systemCalls().namedDevices = false;
    systemCalls().folderMarks = "/";
  }
  void TearDown() override { systemCalls() = platformSystemCalls(); }
};

std::string resolve(const std::string& name, int32_t* status = nullptr) {
  ResolvedName resolved;
  int32_t result = resolveFileName(name.data(), static_cast<int>(name.size()), resolved);
  if (status != nullptr) *status = result;
  return resolved.fileName;
}

TEST_F(ResolveTest, TrimsBlanksAndMakesTheNameFull) {
  const std::string& cwd = kDirectory;
  EXPECT_EQ(resolve("  mesh.txt   "), cwd + "/mesh.txt");
  EXPECT_EQ(resolve("my mesh.txt" + std::string(189, ' ')), cwd + "/my mesh.txt");
  EXPECT_EQ(resolve("tab\t"), cwd + "/tab\t");
  EXPECT_EQ(resolve(std::string("mesh\0\0", 6)), cwd + "/mesh");
  EXPECT_EQ(resolve(std::string(200, ' ')), "");
  EXPECT_EQ(resolve(""), "");
}

TEST_F(ResolveTest, TooLongFullPathFallsBackToTheNameAsGiven) {
  std::string deep = "/" + std::string(150, 'a') + "/" + std::string(150, 'b');
  int32_t status = -1;
  EXPECT_EQ(resolve(deep, &status), deep.substr(0, 256)) << "only 256 characters are taken";
  EXPECT_EQ(status, 0);
  std::string relative(250, 'r');
  EXPECT_EQ(resolve(relative, &status), relative) << "the full path would be too long";
  EXPECT_EQ(status, 0);
}

TEST_F(ResolveTest, ResolvedDeviceKeepsOnlyItsBase) {
  struct Case {
    const char* name;
    const char* fileName;
    DeviceKind device;
  } const cases[] = {
      {"  con.txt  ", "con", DeviceKind::StandardOutput},
      {"NUL.dat", "NUL", DeviceKind::Null},
      {"CONOUT$", "CONOUT$", DeviceKind::StandardOutput},
      {"con.", "con", DeviceKind::StandardOutput},
  };
  for (const Case& c : cases) {
    std::string name(c.name);
    ResolvedName resolved;
    EXPECT_EQ(resolveFileName(name.data(), static_cast<int>(name.size()), resolved), 0);
    EXPECT_STREQ(resolved.fileName, c.fileName) << c.name;
    EXPECT_EQ(resolved.device, c.device) << c.name;
  }
  ResolvedName resolved;
  EXPECT_EQ(resolveFileName("err.log", 7, resolved), 0);
  EXPECT_EQ(resolved.fileName, kDirectory + "/err.log");
  EXPECT_EQ(resolved.device, DeviceKind::None);
}

}  // namespace
