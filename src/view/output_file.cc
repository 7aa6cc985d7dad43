#include "view/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "view/view_failure.h"

OutputFile createOutputFile(const char* finalPath) {
  OutputFile file;
  file.finalPath = finalPath;
  struct stat status;
  if (stat(finalPath, &status) == 0 && S_ISDIR(status.st_mode)) {
    failView(kFailureStatus, "%s: is a folder", finalPath);
  }
  const std::string path = finalPath;
  const size_t slash = path.rfind('/');
  const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
  const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
  file.tempPath = folder + "." + base + ".XXXXXX";
  std::vector<char> name(file.tempPath.begin(), file.tempPath.end());
  name.push_back('\0');
  file.fd = mkstemp(name.data());
  if (file.fd < 0) {
    failView(kFailureStatus, "%s: cannot create the file: %s", finalPath, std::strerror(errno));
  }
  file.tempPath = name.data();
  setUnfinishedOutput(file.tempPath.c_str());
  return file;
}

void writeOutput(OutputFile& file, const void* data, size_t length) {
  const char* bytes = static_cast<const char*>(data);
  while (length > 0) {
    const ssize_t n = write(file.fd, bytes, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      failView(kFailureStatus, "%s: cannot write: %s", file.finalPath.c_str(),
               n < 0 ? std::strerror(errno) : "nothing written");
    }
    bytes += n;
    length -= static_cast<size_t>(n);
  }
}

void commitOutputFile(OutputFile& file) {
  // mkstemp makes the file private; a finished output gets what any new file gets.
  const mode_t mask = umask(0);
  umask(mask);
  if (fchmod(file.fd, 0666 & ~mask) != 0 || close(file.fd) != 0) {
    file.fd = -1;
    failView(kFailureStatus, "%s: cannot write: %s", file.finalPath.c_str(), std::strerror(errno));
  }
  file.fd = -1;
  if (rename(file.tempPath.c_str(), file.finalPath.c_str()) != 0) {
    failView(kFailureStatus, "%s: cannot write: %s", file.finalPath.c_str(), std::strerror(errno));
  }
  setUnfinishedOutput(nullptr);
}
