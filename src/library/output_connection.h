// A file the library writes, through the connection and output channel that boxpaint's
// model file takes: its device names, its one-writer lock, its old content cut only when
// the first records take its place, and whole records only after a failure or a stop.
#pragma once

#include <cstddef>
#include <string>

#include "boxpaint/failure.h"
#include "runtime/connections/connection.h"
#include "runtime/diagnostics/failure.h"
#include "runtime/environment/terminator_setting.h"

/// What writes the records of an output file to its connection; returns the first failure.
using OutputWriter = Failure (*)(Connection& connection, void* context);

/// Opens `path` for writing as boxpaint opens its model file (unit 2), makes each record
/// end with `terminator`, has `write` write the records, then closes the file, handing
/// over only the complete records after a failure. A file another run is writing is
/// refused (30) and left as it is; a name longer than a connection takes is refused (43).
/// Returns the failure of the open, of `write` or of the close, naming `path`. The caller
/// holds the library's lock.
boxpaint::Failure writeOutputFile(const std::string& path, TerminatorKind terminator,
                                  OutputWriter write, void* context);

/// writeOutputFile with a callable `write(Connection&)` that returns a Failure.
template <typename Write>
boxpaint::Failure writeOutputFile(const std::string& path, TerminatorKind terminator, Write write) {
  return writeOutputFile(
      path, terminator,
      [](Connection& connection, void* context) {
        return (*static_cast<Write*>(context))(connection);
      },
      &write);
}

/// Bytes of text gathered before writeLines hands them to the connection.
constexpr size_t kTextPieceBytes = size_t{1} << 20;

/// Once `text` holds kTextPieceBytes or more, or whenever `all`, writes its lines (each
/// ended by a line feed) to `connection`, whose records end with one, and empties it. The
/// lines go as records of whole lines, each of a few kilobytes at most, so that a write
/// that fails leaves whole lines only. Returns the first failure of the channel.
Failure writeLines(Connection& connection, std::string& text, bool all);
