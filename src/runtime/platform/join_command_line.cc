#include "runtime/platform/join_command_line.h"

std::string joinCommandLine(const std::vector<std::string>& elements) {
  std::string line;
  for (const std::string& element : elements) {
    if (!line.empty()) line.push_back(' ');
    // Quoted whole; an inner double quote closes the quoted part with a doubled
    // quote and opens a new one, which gives it back as one double quote.
    line.push_back('"');
    for (char c : element) {
      if (c == '"') {
        line.append("\"\"\"");
      } else {
        line.push_back(c);
      }
    }
    line.push_back('"');
  }
  return line;
}
