// The lines of a file read in one pass, front to back, in large blocks: the one reader
// the companion programs cut files into lines with. A line ends at a line feed, which is
// not part of it; the carriage return of a CR LF end stays at the end of its text, for
// the caller to judge. Text after the last line feed is a last line without an end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/platform/system_calls.h"

/// Bytes a line reader reads at a time, unless told otherwise.
constexpr size_t kLineReaderBlock = 1 << 20;

/// One line, as `nextLine` gives it.
struct LineView {
  std::string_view text;  // its bytes, the line feed left out; at most the reader's block
                          // of a line longer than that (its first bytes)
  int64_t length = 0;     // its full length, the line feed left out
  bool ended = false;     // it ended with a line feed (false: the file ended first)
};

/// Where reading a file stands.
struct LineReader {
  FileHandle file = kNoFile;
  std::vector<char> block;  // bytes read and not yet given out lie in [start, end)
  size_t start = 0;
  size_t end = 0;
  bool fileEnded = false;
  SystemError error = 0;  // the reason a read failed; 0: none
  int64_t lines = 0;      // lines given out so far
  std::string longHead;   // the first bytes of a line longer than the block
};

/// A reader of the file open on `file` from where it stands, `blockBytes` at a time.
LineReader startLineReader(FileHandle file, size_t blockBytes = kLineReaderBlock);

/// The next line of the file; false at the end of the file, or when a read failed
/// (`error` says why). The text stays valid until the next call.
bool nextLine(LineReader& reader, LineView& line);

/// The whole lines the reader holds from the next line on, up to and including the last
/// line feed it holds, reading more first when it holds none: for a caller that takes many
/// short lines at once and hands back with takeLines what it took. Empty at the end of the
/// file, after a failed read, or when the next line fills the block; nextLine then says
/// which.
std::string_view heldLines(LineReader& reader);

/// Takes the first `bytes` of what heldLines gave, which hold `lines` whole lines, as read.
void takeLines(LineReader& reader, size_t bytes, int64_t lines);
