// The text of one record of a file, for an error message that quotes it.
#pragma once

#include <cstdint>
#include <string>

/// Longest record text `recordText` gives before it cuts the rest off with "...".
constexpr size_t kRecordTextLimit = 40;

/// The text of record `line` (counting from 1) of the file `fileName`, without its
/// terminator and surrounding blanks, with unprintable bytes shown as '?'; empty when
/// the file cannot be read or is shorter.
std::string recordText(const char* fileName, int64_t line);
