#include "model_files/split_path.h"

PathParts splitPath(std::string_view path, PathStyle style) {
  size_t cut = 0;
  if (style == PathStyle::Windows) {
    // "Z:name" is a name in the current folder of drive Z.
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    const size_t separator = path.find_last_of("/\\");
    cut = separator != std::string_view::npos ? separator + 1 : drive ? 2 : 0;
  } else {
    const size_t separator = path.rfind('/');
    cut = separator != std::string_view::npos ? separator + 1 : 0;
  }
  return PathParts{path.substr(0, cut), path.substr(cut)};
}
