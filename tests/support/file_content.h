// Test support: a file's whole content, read or written at once.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

/// The bytes of the file `path`; empty when it cannot be read.
inline std::string fileContent(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

/// Makes `content` the whole of the file `path`.
inline void writeFileContent(const std::filesystem::path& path, const std::string& content) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
}
