#include "runtime/environment/command_line.h"

#include <cstring>

#include "runtime/platform/system_calls.h"

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

void setCommandLine(int argc, const char* const* argv) {
  // On every system the run sees its arguments through the same splitting of one string.
  arguments = splitCommandLine(systemCalls().commandLine(argc, argv));
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
