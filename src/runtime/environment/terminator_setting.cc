#include "runtime/environment/terminator_setting.h"

namespace {

// Reads a terminator word at the front of `text` that is followed by `mark`; on
// success drops both from `text`.
bool takeKindPart(std::string_view& text, char mark, TerminatorKind& kind) {
  struct Word {
    std::string_view word;
    TerminatorKind kind;
  };
  // CRLF before CR: the longer word must be tried first.
  constexpr Word kWords[] = {
      {"CRLF", TerminatorKind::CRLF}, {"CR", TerminatorKind::CR}, {"LF", TerminatorKind::LF}};
  for (const Word& word : kWords) {
    if (text.size() > word.word.size() && text.starts_with(word.word) &&
        text[word.word.size()] == mark) {
      kind = word.kind;
      text.remove_prefix(word.word.size() + 1);
      return true;
    }
  }
  return false;
}

// Takes the run of decimal digits at the front of `text`; false when there is none.
bool takeDigits(std::string_view& text, std::string_view& digits) {
  size_t length = 0;
  while (length < text.size() && text[length] >= '0' && text[length] <= '9') ++length;
  if (length == 0) return false;
  digits = text.substr(0, length);
  text.remove_prefix(length);
  return true;
}

// The digits without their leading zeros ("0" stays "0").
std::string_view significant(std::string_view digits) {
  size_t zeros = 0;
  while (zeros + 1 < digits.size() && digits[zeros] == '0') ++zeros;
  return digits.substr(zeros);
}

// True when the number written `a` is below the number written `b`, however long.
bool numberIsBelow(std::string_view a, std::string_view b) {
  a = significant(a);
  b = significant(b);
  if (a.size() != b.size()) return a.size() < b.size();
  return a < b;
}

// The value of `digits`; anything beyond every unit number becomes kBeyondAnyUnit.
int64_t unitValue(std::string_view digits) {
  int64_t value = 0;
  for (char digit : digits) {
    value = value * 10 + (digit - '0');
    if (value >= kBeyondAnyUnit) return kBeyondAnyUnit;
  }
  return value;
}

}  // namespace

bool parseTerminatorSetting(std::string_view text, TerminatorSetting& setting) {
  setting = TerminatorSetting{};
  if (text.empty()) return true;
  constexpr struct {
    std::string_view word;
    TerminatorKind kind;
  } kWholeWords[] = {
      {"CR", TerminatorKind::CR}, {"LF", TerminatorKind::LF}, {"CRLF", TerminatorKind::CRLF}};
  for (const auto& whole : kWholeWords) {
    if (text == whole.word) {
      setting.defaultKind = whole.kind;
      return true;
    }
  }

  TerminatorSetting parsed;
  takeKindPart(text, ';', parsed.defaultKind);
  takeKindPart(text, ':', parsed.listedKind);
  // The list: at least one entry, entries separated by commas, no comma or dash at
  // its end.
  for (;;) {
    std::string_view first;
    std::string_view last;
    if (parsed.entryCount == kMaxTerminatorEntries || !takeDigits(text, first)) return false;
    last = first;
    if (text.starts_with('-')) {
      text.remove_prefix(1);
      if (!takeDigits(text, last) || numberIsBelow(last, first)) return false;
    }
    parsed.entries[parsed.entryCount++] = UnitRange{unitValue(first), unitValue(last)};
    if (text.empty()) break;
    if (!text.starts_with(',')) return false;
    text.remove_prefix(1);
  }
  setting = parsed;
  return true;
}

TerminatorKind terminatorInSetting(const TerminatorSetting& setting, int32_t unit) {
  for (int i = 0; i < setting.entryCount; ++i) {
    if (unit >= setting.entries[i].first && unit <= setting.entries[i].last) {
      return setting.listedKind;
    }
  }
  return setting.defaultKind;
}
