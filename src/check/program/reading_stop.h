// Where reading stopped, and how boxpaint-check tells it.
#pragma once

#include <cstdint>
#include <string>

/// How reading stopped at a line.
enum class StopPlace {
  None,       // no line: the file cannot be opened, or the data read are refused whole
  AtLine,     // at `line`, whose text is shown
  AfterLine,  // after `line` lines: the file ended, or a read failed
};

/// Where reading stopped and what boxpaint would have said.
struct ReadingStop {
  std::string file;  // the file's name: the full path when it was opened
  StopPlace place = StopPlace::None;
  int64_t line = 0;  // see `place`
  bool hasText = false;
  std::string text;     // the text of the line, for AtLine when it could be read again
  std::string part;     // what was being read ("block 2 of 5"); empty when nothing was
  std::string problem;  // why, in a few words ("the file cannot be opened")
  std::string note;     // what in the line's text made it so; may be empty
  std::string message;  // the line boxpaint prints, without its line feed; empty when what
                        // it prints cannot be told
};

/// The first line of the report on standard error, without the program's name and the
/// line end: what stopped where.
std::string readingStopHead(const ReadingStop& stop);

/// The lines under it, each ended: the line's text, the note under it, boxpaint's line
/// (when it has one).
std::string readingStopDetail(const ReadingStop& stop);

/// The JSON object {"error": {...}} that --json prints on standard output; the note ends
/// its "problem", after "; ".
std::string readingStopJson(const ReadingStop& stop);
