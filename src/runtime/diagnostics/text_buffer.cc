#include "runtime/diagnostics/text_buffer.h"

#include <cstring>

void appendText(TextBuffer& buffer, std::string_view text) {
  size_t room = buffer.capacity - buffer.length;
  size_t n = text.size();
  if (n > room) {
    n = room;
    buffer.overflowed = true;
  }
  if (n > 0) std::memcpy(buffer.data + buffer.length, text.data(), n);
  buffer.length += n;
}

static void appendBlanks(TextBuffer& buffer, size_t count) {
  static constexpr char kBlanks[] = "                                ";
  while (count > 0) {
    size_t n = count < sizeof kBlanks - 1 ? count : sizeof kBlanks - 1;
    appendText(buffer, std::string_view(kBlanks, n));
    count -= n;
  }
}

void appendField(TextBuffer& buffer, std::string_view text, int width, int precision,
                 bool leftJustify) {
  if (precision >= 0 && text.size() > static_cast<size_t>(precision)) {
    text = text.substr(0, static_cast<size_t>(precision));
  }
  size_t pad = width > 0 && text.size() < static_cast<size_t>(width)
                   ? static_cast<size_t>(width) - text.size()
                   : 0;
  if (!leftJustify) appendBlanks(buffer, pad);
  appendText(buffer, text);
  if (leftJustify) appendBlanks(buffer, pad);
}

// Renders `value` in `base` into the end of `digits`; returns the first digit's index.
static size_t renderUnsigned(uint64_t value, unsigned base, bool upperCase, int minDigits,
                             char (&digits)[24]) {
  const char* symbols = upperCase ? "0123456789ABCDEF" : "0123456789abcdef";
  size_t at = sizeof digits;
  do {
    digits[--at] = symbols[value % base];
    value /= base;
  } while (value != 0 && at > 0);
  while (sizeof digits - at < static_cast<size_t>(minDigits) && at > 0) digits[--at] = '0';
  return at;
}

void appendDecimal(TextBuffer& buffer, int64_t value) {
  char digits[24];
  uint64_t magnitude = value < 0 ? 0 - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
  size_t at = renderUnsigned(magnitude, 10, false, 1, digits);
  if (value < 0) digits[--at] = '-';
  appendText(buffer, std::string_view(digits + at, sizeof digits - at));
}

void appendHex(TextBuffer& buffer, uint64_t value, int minDigits, bool upperCase) {
  char digits[24];
  size_t at = renderUnsigned(value, 16, upperCase, minDigits, digits);
  appendText(buffer, std::string_view(digits + at, sizeof digits - at));
}

void appendFormatted(TextBuffer& buffer, const char* format, const MessageArgument* arguments,
                     int argumentCount) {
  int next = 0;
  const char* p = format;
  while (*p != '\0') {
    if (*p != '%') {
      const char* start = p;
      while (*p != '\0' && *p != '%') ++p;
      appendText(buffer, std::string_view(start, static_cast<size_t>(p - start)));
      continue;
    }
    const char* start = p++;
    bool left = false;
    if (*p == '-') {
      left = true;
      ++p;
    }
    int width = 0;
    while (*p >= '0' && *p <= '9') width = width * 10 + (*p++ - '0');
    int precision = -1;
    if (*p == '.') {
      ++p;
      precision = 0;
      while (*p >= '0' && *p <= '9') precision = precision * 10 + (*p++ - '0');
    }
    if (*p == 'l') ++p;
    char conversion = *p;
    if (conversion == '%') {
      appendText(buffer, "%");
      ++p;
      continue;
    }
    bool known = conversion == 'd' || conversion == 'i' || conversion == 's' || conversion == 'x' ||
                 conversion == 'X';
    if (!known || next >= argumentCount) {
      // Keep the conversion visible rather than inventing a value for it.
      if (conversion != '\0') ++p;
      appendText(buffer, std::string_view(start, static_cast<size_t>(p - start)));
      continue;
    }
    ++p;
    const MessageArgument& argument = arguments[next++];
    char digits[24];
    std::string_view text;
    if (conversion == 's') {
      text = argument.text != nullptr ? std::string_view(argument.text) : std::string_view();
    } else if (conversion == 'x' || conversion == 'X') {
      size_t at = renderUnsigned(static_cast<uint64_t>(argument.number), 16, conversion == 'X',
                                 precision > 0 ? precision : 1, digits);
      text = std::string_view(digits + at, sizeof digits - at);
      precision = -1;
    } else {
      TextBuffer number{digits, sizeof digits, 0, false};
      appendDecimal(number, argument.number);
      text = std::string_view(digits, number.length);
    }
    appendField(buffer, text, width, precision, left);
  }
}
