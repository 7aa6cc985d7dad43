// Free-form read statements on one open input file: values separated by blanks,
// commas or line ends, with nulls, repeat counts and an early slash.
#pragma once

#include <cstddef>
#include <cstdint>

#include "freeform/record_source.h"
#include "runtime/diagnostics/failure.h"

struct Connection;

/// What the value search found for an item.
enum class TokenKind { Number, LogicalLooking, Quoted, Null, Slash };

/// The value an item receives: a span of the record buffer and its kind.
struct ValueToken {
  size_t start = 0;  // offset in the record buffer
  size_t length = 0;
  TokenKind kind = TokenKind::Null;
  bool converted = false;  // a plain decimal whose value was read with its text
  double value = 0;        // that value
};

/// Where one read statement stands; made fresh by each `beginStatement`.
struct StatementState {
  size_t position = 0;          // offset of the current byte in the record buffer
  int32_t repeatRemaining = 0;  // further items that take `currentToken` again
  ValueToken currentToken;
  bool integerLooking = false;    // the number has no period and no exponent letter
  bool slashSeen = false;         // no further item of the statement gets a value
  bool freshRecord = false;       // no item has been served from the current record yet
  bool metNonBlank = false;       // the statement has met a non-blank byte
  bool crossedRecordEnd = false;  // this value search left a record after a non-blank
  bool commaPending = false;      // this value search has already had its separating comma
};

/// What a reader holds beyond its current record, between statements: for reading whole
/// records of it elsewhere, such as on another thread.
struct HeldRecords {
  const char* text = nullptr;  // the bytes; kReadableSlack more behind them may be read
  size_t length = 0;           // whole records, and perhaps the start of one more
  int64_t offset = 0;          // where in the file text[0] lies
  char terminator = '\n';      // the byte that ends a record (see inputRecordEnd)
};

/// Reads integers and reals from one open file, statement by statement. The first failure
/// (24, 59, 64, 39 or 98) sticks: the statement it stops and every later one read nothing
/// more and leave their items as they are, so that a caller need only ask once a statement
/// has ended.
class FreeFormReader {
 public:
  /// Reads `connection`'s file from where it stands (its start, just after the open).
  explicit FreeFormReader(Connection& connection);
  /// Releases the record buffer; the connection stays open.
  ~FreeFormReader();
  FreeFormReader(const FreeFormReader&) = delete;
  FreeFormReader& operator=(const FreeFormReader&) = delete;

  /// Starts a statement on the next record of the file.
  void beginStatement();
  /// Gives `item` the next value; a null or a slash leaves it unchanged.
  void readInteger(int32_t& item);
  /// Gives `item` the next value; a null or a slash leaves it unchanged.
  void readReal(double& item);
  /// Gives `first[0]` .. `first[n-1]` the next n values; nothing when n <= 0.
  void readRealRun(double* first, int32_t n);
  /// Ends the statement; the rest of its last record and any unused repeat are dropped.
  /// False when this statement or an earlier one failed.
  bool endStatement();
  /// True once a statement has failed.
  bool failed() const { return failure_ != Message::None; }
  /// The first failure met, for the reader's unit and file, with the records read when it
  /// was met; no failure while none.
  Failure failure() const;

  /// Between statements: reads the next record the way a statement of `count` real items
  /// reads one that gives all of them as plain decimals, each after blanks only, the rest
  /// of the record dropped, into first[0..count), and passes over it: the fast form of
  /// such a statement, with no statement's work. False, with nothing read, for any other
  /// record, which only the statement itself can judge, and after a failure.
  bool readPlainRecord(double* first, int32_t count);
  /// Between statements: the bytes read beyond the current record. Valid until the next
  /// statement or pass over records.
  HeldRecords heldRecords() const;
  /// Between statements: lets each read take up to `capacity` bytes; false when the
  /// memory is refused, which changes nothing.
  bool widenReads(size_t capacity) { return widenRecordSource(source_, capacity); }
  /// Between statements: passes over `count` whole records, the first `length` bytes
  /// following, which were read some other way.
  void skipRecords(size_t length, int64_t count) {
    ::skipRecords(source_, connection_, length, count);
  }

 private:
  int32_t readPlainDecimals(double* first, int32_t n);
  bool serveItem();
  void nextValue();
  bool skipBlanks();
  bool commaBefore(size_t end) const;
  void takeValueAt(size_t at, bool countAllowed);
  bool takePlainDecimal(size_t at);
  void takeRepeatCount(size_t countEnd);
  void fail(Message message);

  Connection& connection_;
  char recordEnd_;  // the byte that ends a record of the file
  RecordSource source_;
  StatementState state_;
  Message failure_ = Message::None;
  int64_t failureLine_ = 0;  // records read when the failure was met
};
