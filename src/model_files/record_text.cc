#include "model_files/record_text.h"

#include "companion/line_text.h"

std::string recordQuote(std::string_view record) {
  const size_t first = record.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return "";
  record = record.substr(first, record.find_last_not_of(" \t\r") + 1 - first);
  if (record.size() <= kRecordQuoteLimit) return printableText(record);
  return printableText(record.substr(0, kRecordQuoteLimit)) + "...";
}

std::string recordText(const char* fileName, int64_t line) {
  std::string text;
  if (!lineText(fileName, line, text)) return "";
  return recordQuote(text);
}
