#include "model_files/split_path.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

TEST(SplitPathTest, CutsAfterTheLastSeparatorOfEitherSystem) {
  struct Case {
    const char* path;
    const char* windowsFolder;  // '/' and '\' both separate, and a drive letter leads
    const char* posixFolder;    // '/' alone separates; '\' is part of a name
  };
  const Case cases[] = {
      {"a.png", "", ""},
      {"sub/a.png", "sub/", "sub/"},
      {"sub\\a.png", "sub\\", ""},
      {".\\sub\\n.png", ".\\sub\\", ""},
      {"..\\try\\l.png", "..\\try\\", ""},
      {"Z:\\work\\out\\c.png", "Z:\\work\\out\\", ""},
      {"z:/work\\mixed/c.png", "z:/work\\mixed/", "z:/work\\mixed/"},
      {"D:f.vtr", "D:", ""},
      {"\\\\server\\share\\f.vtr", "\\\\server\\share\\", ""},
      {"/tmp/x\\y.png", "/tmp/x\\", "/tmp/"},
      {"1:a.png", "", ""},
  };
  for (const Case& c : cases) {
    const std::string_view path = c.path;
    for (const auto& [style, folder] : {std::pair{PathStyle::Windows, c.windowsFolder},
                                        std::pair{PathStyle::Posix, c.posixFolder}}) {
      const PathParts parts = splitPath(path, style);
      EXPECT_EQ(parts.folder, folder) << c.path;
      EXPECT_EQ(std::string(parts.folder) + std::string(parts.base), path) << c.path;
    }
  }
}

}  // namespace
