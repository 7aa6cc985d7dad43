// A fixed text area filled piece by piece, used for diagnostics and the call-stack
// listing. No heap memory and no locale: safe inside a fault handler.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

/// Text appended into caller-owned memory; what does not fit is dropped and
/// `overflowed` is set.
struct TextBuffer {
  char* data = nullptr;
  size_t capacity = 0;
  size_t length = 0;
  bool overflowed = false;
};

/// Appends `text` whole, or as much as fits.
void appendText(TextBuffer& buffer, std::string_view text);

/// Appends `text` cut to `precision` characters (when precision >= 0) and padded with
/// blanks to `width`, on the right when `leftJustify`, else on the left.
void appendField(TextBuffer& buffer, std::string_view text, int width, int precision,
                 bool leftJustify);

/// Appends `value` in decimal.
void appendDecimal(TextBuffer& buffer, int64_t value);

/// Appends `value` in hexadecimal with at least `minDigits` digits.
void appendHex(TextBuffer& buffer, uint64_t value, int minDigits, bool upperCase);

/// One value for a message template: a number or a text.
struct MessageArgument {
  bool isText = false;
  int64_t number = 0;
  const char* text = nullptr;
};

/// Appends `format` with its conversions (%d %i %ld %lx %X %s, with optional '-',
/// width and precision) filled from `arguments` in order. A conversion without an
/// argument is written as it stands.
void appendFormatted(TextBuffer& buffer, const char* format, const MessageArgument* arguments,
                     int argumentCount);
