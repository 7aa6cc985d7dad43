#include "library/output_connection.h"

#include <cstring>
#include <string_view>

#include "library/library_failure.h"
#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection_output.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"
#include "runtime/records/channel_policy.h"
#include "runtime/records/record_batch.h"

namespace {

// The unit of boxpaint's model file.
constexpr int32_t kOutputUnit = 2;

// The library's failure for `failure` met writing `path`: named as the caller named it,
// rather than by the full path the connection resolved.
boxpaint::Failure failureWriting(const Failure& failure, const std::string& path) {
  boxpaint::Failure made = runFailure(failure);
  if (!made.file.empty()) made.file = path;
  return made;
}

}  // namespace

boxpaint::Failure writeOutputFile(const std::string& path, TerminatorKind terminator,
                                  OutputWriter write, void* context) {
  // A connection takes the first kMaxFileName characters of a name: a longer one would
  // name another file.
  if (path.size() > static_cast<size_t>(kMaxFileName)) {
    return messageFailure(numberOf(Message::BadFileName), path);
  }
  if (const Failure opened = openOutput(kOutputUnit, path.data(), static_cast<int>(path.size()))) {
    return failureWriting(opened, path);
  }
  Connection& connection = *lookUpConnection(kOutputUnit);
  endRecordsWith(connection, terminator);
  if (const Failure failure = write(connection, context)) {
    closeAfterFailure(kOutputUnit, failure);
    return failureWriting(failure, path);
  }
  return failureWriting(closeConnection(kOutputUnit), path);
}

Failure writeLines(Connection& connection, std::string& text, bool all) {
  if (text.size() < kTextPieceBytes && !all) return {};
  std::string_view rest = text;
  while (!rest.empty()) {
    // As many whole lines as a record holds, the last one's line feed left to the channel.
    size_t end = rest.find('\n');
    for (size_t next; end != std::string_view::npos && end + 1 < rest.size() &&
                      (next = rest.find('\n', end + 1)) != std::string_view::npos &&
                      next < kMaxRecordBytes - 1;) {
      end = next;
    }
    if (end == std::string_view::npos) end = rest.size();
    RecordRoom room;
    if (const Failure failure =
            outputFailure(connection, reserveRecords(connection.output, end, 1, room))) {
      return failure;
    }
    std::memcpy(room.bytes, rest.data(), end);
    if (const Failure failure = outputFailure(connection, commitRecords(connection.output, 1))) {
      return failure;
    }
    rest.remove_prefix(end < rest.size() ? end + 1 : end);
  }
  text.clear();
  return {};
}
