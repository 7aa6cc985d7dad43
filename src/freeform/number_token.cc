#include "freeform/number_token.h"

#include <cstring>

#include "freeform/number_text.h"

namespace {

bool startsSpecialWord(char c) {
  return c == 'I' || c == 'i' || c == 'N' || c == 'n';
}

// INF / NAN forms are taken without checks up to a blank, comma, `)`, slash or the
// record end; an asterisk does not end them. After N a parenthesised part is taken
// whole, whatever it holds.
const char* specialWordEnd(const char* p, const char* recordEnd, bool takesParentheses) {
  while (p < recordEnd) {
    const char c = *p;
    if (c == ' ' || c == '\t' || c == ',' || c == ')' || c == '/') break;
    if (c == '(' && takesParentheses) {
      const void* close = std::memchr(p, ')', static_cast<size_t>(recordEnd - p));
      p = close == nullptr ? recordEnd : static_cast<const char*>(close) + 1;
      continue;
    }
    ++p;
  }
  return p;
}

}  // namespace

bool scanNumberToken(const char* start, const char* recordEnd, NumberToken& token) {
  const char* p = start;
  if (p < recordEnd && isSign(*p)) ++p;
  if (p < recordEnd && startsSpecialWord(*p)) {
    token.end = specialWordEnd(p + 1, recordEnd, *p == 'N' || *p == 'n');
    token.integerLooking = true;
    return true;
  }
  p = start;
  bool sawDigit = false;
  bool sawPeriod = false;
  bool sawExponentLetter = false;
  bool previousWasSign = false;
  bool signAwaitsDigit = false;
  for (; p < recordEnd; ++p) {
    // Runs of digits make up most of a token; take them in one tight loop.
    if (isDecimalDigit(*p)) {
      do {
        ++p;
      } while (p < recordEnd && isDecimalDigit(*p));
      sawDigit = true;
      signAwaitsDigit = false;
      previousWasSign = false;
      if (p == recordEnd) break;
    }
    switch (*p) {
      case '+':
      case '-':
        if (previousWasSign) return false;
        previousWasSign = true;
        signAwaitsDigit = true;
        continue;
      case '.':
        if (sawPeriod) return false;
        sawPeriod = true;
        previousWasSign = false;
        continue;
      case 'E':
      case 'e':
      case 'D':
      case 'd':
      case 'Q':
      case 'q':
        if (!sawDigit || sawExponentLetter || signAwaitsDigit) return false;
        sawExponentLetter = true;
        previousWasSign = false;
        continue;
      case ' ':
      case '\t':
      case ',':
      case '/':
      case ')':
      case '*':
        break;
      default:
        return false;
    }
    break;
  }
  if (!sawDigit || signAwaitsDigit) return false;
  token.end = p;
  token.integerLooking = !sawPeriod && !sawExponentLetter;
  return true;
}
