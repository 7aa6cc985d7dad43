// One record of a model file as the model writer makes it: one value right-justified in
// a 10-character field, then its line end (CR LF, or LF alone).
#pragma once

#include "companion/line_reader.h"

/// What is wrong with a record, if anything.
enum class RecordProblem {
  None,
  Empty,       // no character before its line end
  Width,       // a field of another width than 10 characters
  Unended,     // the file ends inside it: no line end after it
  NoValue,     // a field of blanks
  Syntax,      // a field that is not one number
  Conversion,  // a number out of the range of a double
};

/// Reads the value of the record `line` (as the line reader gives it: the carriage
/// return of a CR LF end still at the end of its text) into `value`. The field holds one
/// number as the input files write numbers, with blanks around it; the model writer's text
/// of the largest doubles, "1.798+308", which lies just beyond them, stands for the
/// largest double. `value` is left alone unless the record is sound.
RecordProblem readModelRecord(const LineView& line, double& value);
