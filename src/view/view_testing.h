// Test support: a scratch folder that is removed with everything in it, and files in it.
#pragma once

#include <dirent.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

/// A new folder under /tmp, removed with its files when the object goes.
struct ScratchFolder {
  std::string path;

  ScratchFolder() {
    char name[] = "/tmp/boxpaint-view-test.XXXXXX";
    path = mkdtemp(name);
  }
  ~ScratchFolder() {
    for (const std::string& name : names()) unlink((path + "/" + name).c_str());
    rmdir(path.c_str());
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  /// The full name of `name` in the folder.
  std::string file(const std::string& name) const { return path + "/" + name; }

  /// Writes `bytes` to `name` in the folder and returns its full name.
  std::string write(const std::string& name, const std::string& bytes) const {
    std::ofstream(file(name), std::ios::binary) << bytes;
    return file(name);
  }

  /// The names of the files in the folder, hidden ones included.
  std::vector<std::string> names() const {
    std::vector<std::string> result;
    if (DIR* dir = opendir(path.c_str())) {
      while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") result.push_back(name);
      }
      closedir(dir);
    }
    return result;
  }
};
