#include "view/scan_model_records.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

constexpr size_t kBlockBytes = 1 << 20;
constexpr char kEndOfFileMark = 0x1A;

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

enum class RecordKind { Blank, Value, EndMark };

// What the record `begin` .. `end` (its line feed not included) is; `text` gets its
// text without the blanks around it.
RecordKind classifyRecord(const char* begin, const char* end, std::string_view& text) {
  // The reader drops the carriage returns before a line feed, then takes a record
  // that is the mark alone as the end of the file.
  const char* kept = end;
  while (kept > begin && kept[-1] == '\r') --kept;
  if (kept - begin == 1 && *begin == kEndOfFileMark) return RecordKind::EndMark;
  while (begin < kept && isBlank(*begin)) ++begin;
  while (kept > begin && isBlank(kept[-1])) --kept;
  if (begin == kept) return RecordKind::Blank;
  text = std::string_view(begin, static_cast<size_t>(kept - begin));
  return RecordKind::Value;
}

// Counts and sorts the records one by one, as they are found.
struct RecordTally {
  ModelRecordScan& scan;
  int64_t recordNumber = 0;  // of the last record taken
  int64_t blankSince = 0;    // first blank record since the last one holding a value

  // Takes the next record; false when it is the end-of-file mark.
  bool take(const char* begin, const char* end) {
    std::string_view text;
    const RecordKind kind = classifyRecord(begin, end, text);
    ++recordNumber;
    if (kind == RecordKind::EndMark) return false;
    if (kind == RecordKind::Blank) {
      if (blankSince == 0) blankSince = recordNumber;
      return true;
    }
    if (blankSince != 0 && scan.firstBlank == 0) scan.firstBlank = blankSince;
    blankSince = 0;
    scan.records = recordNumber;
    if (text == "1.798+308" || text == "-1.798+308") {
      scan.largest.push_back({recordNumber, text[0] == '-'});
    }
    return true;
  }
};

}  // namespace

ModelRecordScan scanModelRecords(int fd) {
  ModelRecordScan scan;
  RecordTally tally{scan};
  std::vector<char> buffer(kBlockBytes);
  size_t held = 0;  // bytes of an unfinished record at the front of the buffer
  off_t offset = 0;
  for (;;) {
    if (held == buffer.size()) buffer.resize(buffer.size() * 2);  // a very long record
    const ssize_t got = pread(fd, buffer.data() + held, buffer.size() - held, offset);
    if (got < 0) {
      if (errno == EINTR) continue;
      scan.readError = errno;
      return scan;
    }
    if (got == 0) break;
    offset += got;
    const char* start = buffer.data();
    const char* end = buffer.data() + held + got;
    for (;;) {
      const void* feed = std::memchr(start, '\n', static_cast<size_t>(end - start));
      if (feed == nullptr) break;
      if (!tally.take(start, static_cast<const char*>(feed))) return scan;
      start = static_cast<const char*>(feed) + 1;
    }
    held = static_cast<size_t>(end - start);
    std::memmove(buffer.data(), start, held);
  }
  // Text after the last line feed is a record of its own.
  if (held > 0) tally.take(buffer.data(), buffer.data() + held);
  return scan;
}
