// Test support: names of scratch files that no other test shares.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

/// A path in the tests' scratch folder named after `prefix`, the running test and `name`:
/// tests run side by side, each in a process of its own, so no two may share a file.
inline std::string scratchPath(const std::string& prefix, const std::string& name) {
  std::string test = testing::UnitTest::GetInstance()->current_test_info()->name();
  std::replace(test.begin(), test.end(), '/', '_');  // a parameterised test's name
  return testing::TempDir() + "/" + prefix + "_" + test + "_" + name;
}
