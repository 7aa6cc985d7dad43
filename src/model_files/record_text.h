// The text of one record of a file, as a one-line error quotes it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// Longest record text an error quotes before it cuts the rest off with "...".
constexpr size_t kRecordQuoteLimit = 40;

/// `record` as an error quotes it: without its line end and the blanks around it, cut
/// after kRecordQuoteLimit bytes, control characters shown as '?'.
std::string recordQuote(std::string_view record);

/// The quote of record `line` (counting from 1) of the regular file `fileName`; empty
/// when it cannot be read again or is shorter.
std::string recordText(const char* fileName, int64_t line);
