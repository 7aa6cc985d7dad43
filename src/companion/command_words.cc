#include "companion/command_words.h"

#include <cstring>
#include <string_view>

bool asksForHelp(int argc, const char* const* argv, bool& help, bool& version) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word == "--") break;
    help = word == "--help" || word == "-h";
    version = word == "--version";
    if (help || version) return true;
  }
  return false;
}

bool sortCommandWords(int argc, const char* const* argv, std::span<CommandOption> options,
                      FileNames& names, std::string& error) {
  bool optionsEnded = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (!optionsEnded && word == "--") {
      optionsEnded = true;
      continue;
    }
    CommandOption* option = nullptr;
    for (CommandOption& candidate : options) {
      if (optionsEnded) break;
      const std::string_view name = candidate.name;
      const bool valueJoined = candidate.example != nullptr && word.size() > name.size() &&
                               word.starts_with(name) && word[name.size()] == '=';
      if (word == name || valueJoined) option = &candidate;
    }
    if (option != nullptr && option->example == nullptr) {
      option->value = option->name;
      continue;
    }
    if (option != nullptr) {
      if (option->value != nullptr) {
        error = std::string(option->name) + " given twice";
        return false;
      }
      if (word == option->name) {
        if (i + 1 == argc) {
          error = std::string(option->name) + " needs " + option->example + " (see --help)";
          return false;
        }
        option->value = argv[++i];
      } else {
        option->value = argv[i] + std::strlen(option->name) + 1;
      }
      continue;
    }
    if (!optionsEnded && word.size() > 1 && word[0] == '-') {
      error = "unknown option " + std::string(word) + " (see --help)";
      return false;
    }
    if (names.count == kMostFileNames) {
      error = "too many file names: " + std::string(word) + " (see --help)";
      return false;
    }
    names.names[names.count] = argv[i];
    names.indices[names.count++] = i;
  }
  return true;
}
