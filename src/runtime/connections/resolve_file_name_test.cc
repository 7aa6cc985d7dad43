#include "runtime/connections/resolve_file_name.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::string resolve(const std::string& name, int32_t* status = nullptr) {
  ResolvedName resolved;
  int32_t result = resolveFileName(name.data(), static_cast<int>(name.size()), resolved);
  if (status != nullptr) *status = result;
  return resolved.fileName;
}

TEST(ResolveFileNameTest, TrimsBlanksAndMakesTheNameFull) {
  char directory[4096];
  ASSERT_NE(getcwd(directory, sizeof directory), nullptr);
  std::string cwd = directory;
  EXPECT_EQ(resolve("  mesh.txt   "), cwd + "/mesh.txt");
  EXPECT_EQ(resolve("my mesh.txt" + std::string(189, ' ')), cwd + "/my mesh.txt");
  EXPECT_EQ(resolve("tab\t"), cwd + "/tab\t");
  EXPECT_EQ(resolve(std::string("mesh\0\0", 6)), cwd + "/mesh");
  EXPECT_EQ(resolve(std::string(200, ' ')), "");
  EXPECT_EQ(resolve(""), "");
}

TEST(ResolveFileNameTest, TooLongFullPathFallsBackToTheNameAsGiven) {
  std::string deep = "/" + std::string(150, 'a') + "/" + std::string(150, 'b');
  int32_t status = -1;
  EXPECT_EQ(resolve(deep, &status), deep.substr(0, 256)) << "only 256 characters are taken";
  EXPECT_EQ(status, 0);
  char directory[4096];
  ASSERT_NE(getcwd(directory, sizeof directory), nullptr);
  std::string cwd = directory;
  std::string relative(200, 'r');
  std::string full = cwd + "/" + relative;
  EXPECT_EQ(resolve(relative, &status), full.size() <= 256 ? full : relative);
  EXPECT_EQ(status, 0);
}

TEST(DeviceNameTest, ResolvedDeviceKeepsOnlyItsBase) {
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
  char directory[4096];
  ASSERT_NE(getcwd(directory, sizeof directory), nullptr);
  ResolvedName resolved;
  EXPECT_EQ(resolveFileName("err.log", 7, resolved), 0);
  EXPECT_EQ(resolved.fileName, std::string(directory) + "/err.log");
  EXPECT_EQ(resolved.device, DeviceKind::None);
}

}  // namespace
