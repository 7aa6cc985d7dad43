#include "freeform/free_form_reader.h"

#include <algorithm>

#include "freeform/number_conversion.h"
#include "freeform/number_text.h"
#include "freeform/number_token.h"
#include "freeform/plain_decimal_run.h"
#include "freeform/record_source.h"
#include "freeform/simple_decimal.h"
#include "runtime/connections/connection.h"

namespace {

bool isLogicalLetter(char c) {
  return c == 'T' || c == 't' || c == 'F' || c == 'f';
}

// A logical-looking token runs up to a blank, comma, `)`, slash or the record end.
size_t logicalTokenEnd(const char* buffer, size_t at, size_t recordEnd) {
  while (at < recordEnd) {
    const char c = buffer[at];
    if (c == ' ' || c == '\t' || c == ',' || c == ')' || c == '/') break;
    ++at;
  }
  return at;
}

}  // namespace

FreeFormReader::FreeFormReader(Connection& connection)
    : connection_(connection), recordEnd_(inputRecordEnd(connection)) {}

FreeFormReader::~FreeFormReader() {
  releaseRecordSource(source_);
}

// Keeps the first failure and stops the statement as a slash would: no further item of it,
// or of any later statement, gets a value.
void FreeFormReader::fail(Message message) {
  if (failure_ == Message::None) {
    failure_ = message;
    failureLine_ = connection_.recordsRead.load(std::memory_order_relaxed);
  }
  state_.slashSeen = true;
  state_.repeatRemaining = 0;
  state_.currentToken = ValueToken{state_.position, 0, TokenKind::Slash};
}

Failure FreeFormReader::failure() const {
  if (failure_ == Message::None) return {};
  return fileFailure(failure_, connection_.unit, connection_.fileName, failureLine_);
}

bool FreeFormReader::readPlainRecord(double* first, int32_t count) {
  if (source_.followingCount == 0 || failure_ != Message::None) return false;
  const char* held = source_.buffer + source_.followingStart;
  const size_t length = readPlainDecimalLine(held, held + source_.followingCount,
                                             readableEnd(source_), recordEnd_, first, count);
  if (length == 0) return false;
  skipRecords(length, 1);
  return true;
}

HeldRecords FreeFormReader::heldRecords() const {
  return {source_.buffer + source_.followingStart, source_.followingCount, followingOffset(source_),
          recordEnd_};
}

void FreeFormReader::beginStatement() {
  state_ = StatementState{};
  if (failure_ != Message::None) {
    fail(failure_);
    return;
  }
  if (const Message failure = fetchRecord(source_, connection_); failure != Message::None) {
    fail(failure);
    return;
  }
  state_.position = source_.recordStart;
  state_.freshRecord = true;
}

bool FreeFormReader::endStatement() {
  state_ = StatementState{};
  if (failure_ == Message::None) return true;
  fail(failure_);
  return false;
}

void FreeFormReader::readInteger(int32_t& item) {
  if (!serveItem()) return;
  const char* text = source_.buffer + state_.currentToken.start;
  const size_t length = state_.currentToken.length;
  int32_t value = 0;
  if (state_.integerLooking) {
    if (parseInteger32(text, length, value) != ConversionStatus::Ok) {
      fail(Message::ConversionError);
      return;
    }
  } else {
    double real = 0.0;
    if (parseReal64(text, length, real) != ConversionStatus::Ok) {
      fail(Message::ConversionError);
      return;
    }
    value = realToInteger32(real);
  }
  item = value;
}

void FreeFormReader::readReal(double& item) {
  if (readPlainDecimals(&item, 1) == 1) return;
  if (!serveItem()) return;
  if (state_.currentToken.converted) {
    item = state_.currentToken.value;
    return;
  }
  double value = 0.0;
  if (parseReal64(source_.buffer + state_.currentToken.start, state_.currentToken.length, value) !=
      ConversionStatus::Ok) {
    fail(Message::ConversionError);
    return;
  }
  item = value;
}

void FreeFormReader::readRealRun(double* first, int32_t n) {
  int32_t i = readPlainDecimals(first, n);
  // After a slash every further element keeps its value; a long run stops looking.
  while (i < n && !state_.slashSeen) {
    readReal(first[i++]);
    // The rest of a repeat group gives its items the value the last one took, or, when
    // the group is of nulls, leaves them as they are: all at once.
    const int32_t repeats = std::min(state_.repeatRemaining, n - i);
    if (repeats > 0) {
      if (state_.currentToken.kind == TokenKind::Number)
        std::fill_n(first + i, repeats, first[i - 1]);
      state_.repeatRemaining -= repeats;
      i += repeats;
    }
    i += readPlainDecimals(first + i, n - i);
  }
}

// The commonest items: plain decimals one after another, each after nothing but blanks
// on the current record, with no repeat group or slash pending. Reads as many as there
// are, up to n, into first[0..n), and leaves the state the value search leaves after the
// last of them; returns how many it read.
int32_t FreeFormReader::readPlainDecimals(double* first, int32_t n) {
  if (state_.repeatRemaining != 0 || state_.slashSeen) return 0;
  const char* buffer = source_.buffer;
  PlainDecimalRun run;
  const int32_t read = readPlainDecimalRun(buffer + state_.position, buffer + source_.recordEnd,
                                           readableEnd(source_), first, n, run);
  if (read == 0) return 0;
  const size_t start = static_cast<size_t>(run.lastStart - buffer);
  const size_t at = static_cast<size_t>(run.last.end - buffer);
  state_.currentToken = ValueToken{start, at - start, TokenKind::Number, true, run.last.value};
  state_.integerLooking = run.last.integerLooking;
  state_.position = at;
  state_.crossedRecordEnd = false;
  state_.commaPending = false;
  state_.metNonBlank = true;
  state_.freshRecord = false;
  return read;
}

// Finds the token of the next item: the current repeat group again, or the next value
// of the text. True when the item is to be converted from the token; false for a null
// or after a slash.
bool FreeFormReader::serveItem() {
  if (state_.slashSeen) return false;
  if (state_.repeatRemaining >= 1) {
    --state_.repeatRemaining;
  } else {
    nextValue();
  }
  state_.freshRecord = false;
  switch (state_.currentToken.kind) {
    case TokenKind::Number:
      return true;
    case TokenKind::Null:
    case TokenKind::Slash:
      return false;
    case TokenKind::LogicalLooking:
    case TokenKind::Quoted:
      break;
  }
  // Every item of this utility is numeric, so a logical or quoted value never fits.
  fail(Message::ConversionError);
  return false;
}

// Passes over blanks and record ends up to the next non-blank byte; false when a record
// could not be fetched.
bool FreeFormReader::skipBlanks() {
  for (;;) {
    const char* buffer = source_.buffer;
    size_t at = state_.position;
    const size_t end = source_.recordEnd;
    while (at < end && isBlank(buffer[at])) ++at;
    if (at < end) {
      state_.position = at;
      state_.metNonBlank = true;
      return true;
    }
    if (state_.metNonBlank) {
      // A comma that ends a line separates the value before it from the next one.
      state_.crossedRecordEnd = true;
      if (!state_.commaPending && commaBefore(source_.recordEnd)) {
        state_.commaPending = true;
      }
    }
    if (const Message failure = fetchRecord(source_, connection_); failure != Message::None) {
      fail(failure);
      return false;
    }
    state_.freshRecord = true;
    state_.position = source_.recordStart;
  }
}

// True when the nearest non-blank byte before offset `end`, within the current record, is
// a comma: at the record's end, a comma that ends the line; before a comma, another one.
bool FreeFormReader::commaBefore(size_t end) const {
  size_t at = end;
  while (at > source_.recordStart && isBlank(source_.buffer[at - 1])) --at;
  return at > source_.recordStart && source_.buffer[at - 1] == ',';
}

// The value search: separators and nulls, then the token of the value.
void FreeFormReader::nextValue() {
  state_.crossedRecordEnd = false;
  state_.commaPending = false;
  for (;;) {
    if (!skipBlanks()) return;
    const size_t at = state_.position;
    if (source_.buffer[at] != ',') {
      takeValueAt(at, true);
      return;
    }
    state_.position = at + 1;
    if (state_.freshRecord) {
      state_.freshRecord = false;
      // On a new record a comma may still be the separator after the last value of
      // an earlier one, unless that record's own trailing comma already was.
      if (state_.crossedRecordEnd && !state_.commaPending) continue;
    } else if (!state_.commaPending && !commaBefore(at)) {
      state_.commaPending = true;
      continue;
    }
    state_.currentToken = ValueToken{at, 0, TokenKind::Null};
    return;
  }
}

// Takes the value that starts at the non-blank, non-comma byte at `at`. A number
// followed by an asterisk is a repeat count when `countAllowed`.
void FreeFormReader::takeValueAt(size_t at, bool countAllowed) {
  // Most values are plain decimals: cut and converted in one pass. Nothing but a blank,
  // comma, slash or `)` ends one, so no repeat count follows it.
  if (takePlainDecimal(at)) return;
  const char* buffer = source_.buffer;
  const size_t end = source_.recordEnd;
  const char c = buffer[at];
  if (c == '/') {
    state_.slashSeen = true;
    state_.currentToken = ValueToken{at, 1, TokenKind::Slash};
    state_.position = at + 1;
    return;
  }
  if (c == '\'' || c == '"') {
    state_.currentToken = ValueToken{at, 1, TokenKind::Quoted};
    state_.position = at + 1;
    return;
  }
  if (isLogicalLetter(c) || (c == '.' && at + 1 < end && isLogicalLetter(buffer[at + 1]))) {
    const size_t tokenEnd = logicalTokenEnd(buffer, at + 1, end);
    state_.currentToken = ValueToken{at, tokenEnd - at, TokenKind::LogicalLooking};
    state_.position = tokenEnd;
    return;
  }
  // No value of this input is parenthesised, so a `)` can only be stray.
  if (c == ')') {
    fail(Message::SyntaxError);
    return;
  }
  NumberToken token;
  if (!scanNumberToken(buffer + at, buffer + end, token)) {
    fail(Message::SyntaxError);
    return;
  }
  const size_t tokenEnd = static_cast<size_t>(token.end - buffer);
  state_.currentToken = ValueToken{at, tokenEnd - at, TokenKind::Number};
  state_.integerLooking = token.integerLooking;
  state_.position = tokenEnd;
  if (countAllowed && tokenEnd < end && buffer[tokenEnd] == '*') takeRepeatCount(tokenEnd);
}

// Takes the value at `at` when it is a plain decimal, cut and converted at once; false,
// with nothing changed, for any other token.
inline bool FreeFormReader::takePlainDecimal(size_t at) {
  const char* buffer = source_.buffer;
  SimpleDecimal simple;
  if (!readSimpleDecimal(buffer + at, buffer + source_.recordEnd, readableEnd(source_), simple)) {
    return false;
  }
  const size_t tokenEnd = static_cast<size_t>(simple.end - buffer);
  state_.currentToken = ValueToken{at, tokenEnd - at, TokenKind::Number, true, simple.value};
  state_.integerLooking = simple.integerLooking;
  state_.position = tokenEnd;
  return true;
}

// The current token is a repeat count r that ends at the asterisk at `asterisk`:
// r nulls (r*) or r copies of the value behind the asterisk (r*c).
void FreeFormReader::takeRepeatCount(size_t asterisk) {
  int32_t count = 0;
  if (parseInteger32(source_.buffer + state_.currentToken.start, state_.currentToken.length,
                     count) != ConversionStatus::Ok) {
    fail(Message::ConversionError);
    return;
  }
  // A count of 0 or less serves the current item only.
  state_.repeatRemaining = count <= 0 ? 0 : count - 1;
  const size_t after = asterisk + 1;
  const size_t end = source_.recordEnd;
  if (after == end) {
    state_.currentToken = ValueToken{after, 0, TokenKind::Null};
    state_.position = after;
    return;
  }
  const char c = source_.buffer[after];
  if (c == ' ' || c == '\t' || c == ',') {
    state_.currentToken = ValueToken{after, 0, TokenKind::Null};
    state_.position = after + 1;
    return;
  }
  takeValueAt(after, false);
}
