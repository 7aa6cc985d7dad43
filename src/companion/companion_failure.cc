#include "companion/companion_failure.h"

#include <cstdarg>
#include <cstdio>

CompanionFailure failureOf(int status, std::string text) {
  CompanionFailure failure;
  failure.status = status;
  failure.text = std::move(text);
  return failure;
}

CompanionFailure formattedFailure(int status, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  va_list again;
  va_copy(again, arguments);
  const int length = std::vsnprintf(nullptr, 0, format, arguments);
  va_end(arguments);
  std::string text(length > 0 ? static_cast<size_t>(length) : 0, '\0');
  if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, again);
  va_end(again);
  return failureOf(status, std::move(text));
}
