#include "runtime/environment/command_line.h"

#include <cstring>

namespace {
// Split once at start-up and never changed afterwards.
std::vector<std::string> arguments;
}  // namespace

std::vector<std::string> splitCommandLine(std::string_view commandLine) {
  std::vector<std::string> elements;
  size_t at = 0;
  size_t end = commandLine.size();
  while (at < end) {
    while (at < end && (commandLine[at] == ' ' || commandLine[at] == '\t')) ++at;
    if (at == end) break;
    std::string element;
    bool quoting = false;
    while (at < end) {
      char c = commandLine[at];
      if (quoting) {
        if (c == '"' && at + 1 < end && commandLine[at + 1] == '"') {
          element.push_back('"');
          at += 2;
          quoting = false;
        } else if (c == '"') {
          ++at;
          quoting = false;
        } else {
          element.push_back(c);
          ++at;
        }
      } else if (c == ' ' || c == '\t') {
        break;
      } else if (c == '"') {
        quoting = true;
        ++at;
      } else {
        element.push_back(c);
        ++at;
      }
    }
    elements.push_back(std::move(element));
  }
  return elements;
}

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

void setCommandLine(int argc, const char* const* argv) {
  std::vector<std::string> elements;
  for (int i = 0; i < argc; ++i) elements.emplace_back(argv[i] != nullptr ? argv[i] : "");
  // The run sees its arguments through the same splitting as a one-string command line.
  arguments = splitCommandLine(joinCommandLine(elements));
}

int32_t argumentCount() {
  return arguments.empty() ? 0 : static_cast<int32_t>(arguments.size() - 1);
}

std::string_view nameInBuffer(const char* buffer, int length) {
  size_t end = length > 0 ? static_cast<size_t>(length) : 0;
  while (end > 0 && buffer[end - 1] == ' ') --end;
  return std::string_view(buffer, end);
}

void getArgument(int32_t index, char* buffer, int length) {
  if (length <= 0) return;
  size_t size = static_cast<size_t>(length);
  std::memset(buffer, ' ', size);
  if (index < 0 || static_cast<size_t>(index) >= arguments.size()) return;
  const std::string& argument = arguments[static_cast<size_t>(index)];
  std::memcpy(buffer, argument.data(), argument.size() < size ? argument.size() : size);
}
