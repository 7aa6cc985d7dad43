#include "runtime/platform/lexical_full_path.h"

#include <vector>

std::string lexicalFullPath(std::string_view name, std::string_view currentDirectory) {
  std::string joined;
  if (name.empty() || name.front() != '/') {
    joined.assign(currentDirectory);
    joined.push_back('/');
  }
  joined.append(name);

  std::vector<std::string_view> parts;
  bool trailingSlash = false;
  std::string_view rest(joined);
  while (!rest.empty()) {
    size_t slash = rest.find('/');
    std::string_view part = rest.substr(0, slash);
    rest = slash == std::string_view::npos ? std::string_view() : rest.substr(slash + 1);
    bool last = slash == std::string_view::npos;
    if (part.empty() || part == ".") {
      trailingSlash = last || trailingSlash;
    } else if (part == "..") {
      if (!parts.empty()) parts.pop_back();
      trailingSlash = last || trailingSlash;
    } else {
      parts.push_back(part);
      trailingSlash = false;
    }
    if (last) break;
    // A slash with nothing after it still names a directory.
    if (rest.empty()) trailingSlash = true;
  }

  std::string path;
  for (std::string_view part : parts) {
    path.push_back('/');
    path.append(part);
  }
  if (path.empty() || trailingSlash) path.push_back('/');
  return path;
}
