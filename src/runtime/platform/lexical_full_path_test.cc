#include "runtime/platform/lexical_full_path.h"

#include <gtest/gtest.h>

namespace {

TEST(LexicalFullPathTest, NormalisesWithoutTouchingTheDisk) {
  struct Case {
    const char* name;
    const char* directory;
    const char* full;
  } const cases[] = {
      {"mesh.txt", "/home/u", "/home/u/mesh.txt"},
      {"/abs/m.txt", "/home/u", "/abs/m.txt"},
      {"a//b///c", "/d", "/d/a/b/c"},
      {"./a/./b", "/d", "/d/a/b"},
      {"../x", "/d/e", "/d/x"},
      {"a/../../../x", "/d", "/x"},
      {"/..", "/d", "/"},
      {"/../..", "/", "/"},
      {"out/", "/d", "/d/out/"},
      {"a/.", "/d", "/d/a/"},
      {"a/..", "/d", "/d/"},
      {".", "/d", "/d/"},
      {"..", "/d/e", "/d/"},
      {"/", "/d", "/"},
      {"back\\slash", "/d", "/d/back\\slash"},
      {"with blank/x y", "/d", "/d/with blank/x y"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(lexicalFullPath(c.name, c.directory), c.full) << c.name << " in " << c.directory;
  }
}

}  // namespace
