#include "check/program/check_failure.h"

#include <gtest/gtest.h>

namespace {

TEST(InputDeviceRefusalTest, NamesTheDeviceBoxpaintWouldReadInstead) {
  EXPECT_FALSE(inputDeviceRefusal("mesh.txt", false));
  EXPECT_FALSE(inputDeviceRefusal("conin$", false));  // read as boxpaint reads it
  const CompanionFailure refused = inputDeviceRefusal("con.txt", true);
  EXPECT_EQ(refused.text, "con.txt: names the device CON (standard output), not a file");
  EXPECT_EQ(refused.detail, "  boxpaint would read that device in the file's place\n");
  // boxpaint's own words depend on the device: none are given.
  EXPECT_NE(refused.json.find("\"message\": null"), std::string::npos) << refused.json;
}

}  // namespace
