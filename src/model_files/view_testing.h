// Test support: a scratch folder that is removed with everything in it, and files in it.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

/// A new folder in the system's temporary folder, removed with its files when the object
/// goes.
struct ScratchFolder {
  std::string path;

  ScratchFolder() {
    static std::atomic<int> made{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("boxpaint-view-test-" + std::to_string(stamp) + "-" + std::to_string(made++));
    std::filesystem::create_directories(folder);
    path = folder.string();
  }
  ~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
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
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(path, ignored)) {
      result.push_back(entry.path().filename().string());
    }
    return result;
  }
};
