#include "runtime/connections/resolve_file_name.h"

#include <unistd.h>

#include <cstring>
#include <vector>

#include "runtime/diagnostics/message.h"
#include "runtime/environment/device_names.h"

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

int32_t resolveFileName(const char* name, int length, ResolvedName& resolved) {
  resolved = ResolvedName{};
  size_t end = length < 0 ? 0 : static_cast<size_t>(length);
  if (end > kMaxFileName) end = kMaxFileName;
  size_t begin = 0;
  while (begin < end && name[begin] == ' ') ++begin;
  while (end > begin && (name[end - 1] == ' ' || name[end - 1] == '\0')) --end;
  std::string_view trimmed(name + begin, end - begin);
  if (trimmed.empty()) return 0;

  DeviceKind device = deviceForName(trimmed);
  if (device != DeviceKind::None) {
    std::string_view base = trimmed.substr(0, trimmed.rfind('.'));
    // The device is named by its base; the rest of a name such as con.txt is dropped.
    std::memcpy(resolved.fileName, base.data(), base.size());
    resolved.device = device;
    return 0;
  }

  char directory[4096];
  std::string full;
  if (trimmed.front() == '/') {
    full = lexicalFullPath(trimmed, "");
  } else if (getcwd(directory, sizeof directory) != nullptr) {
    full = lexicalFullPath(trimmed, directory);
  }
  std::string_view chosen =
      !full.empty() && full.size() <= kMaxFileName ? std::string_view(full) : trimmed;
  if (chosen.size() > kMaxFileName) return numberOf(Message::BadFileName);
  std::memcpy(resolved.fileName, chosen.data(), chosen.size());
  return 0;
}
