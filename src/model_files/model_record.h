// One record of a model file: one number and its line end (CR LF, or LF alone). boxpaint
// writes the number right-justified in 10 characters; other programs write models in the
// same order at other widths (numpy's savetxt, inversion codes), and any width reads.
#pragma once

#include "companion/line_reader.h"

/// What is wrong with a record, if anything.
enum class RecordProblem {
  None,
  Empty,       // no character before its line end
  Unended,     // the file ends inside it: no line end after it
  NoValue,     // blanks only
  Several,     // more than one word: a value with text after it, or two values
  Syntax,      // one word that is not a number
  Conversion,  // a number out of the range of a double
  TooLong,     // longer than the line reader keeps of a line
};

/// Reads the value of the record `line` (as the line reader gives it: the carriage
/// return of a CR LF end still at the end of its text) into `value`. The record holds one
/// number as the input files write numbers, with blanks or tabs around it, at any width;
/// the model writer's text of the largest doubles, "1.798+308", which lies just beyond
/// them, stands for the largest double. `value` is left alone unless the record is sound.
RecordProblem readModelRecord(const LineView& line, double& value);
