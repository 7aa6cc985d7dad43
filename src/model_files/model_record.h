// One record of a model file: one number and its line end (CR LF, or LF alone). boxpaint
// writes the number right-justified in 10 characters; other programs write models in the
// same order at other widths (numpy's savetxt, inversion codes), and any width reads.
#pragma once

#include <cstddef>
#include <string_view>

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

/// The fast form of readModelRecord for the records the model writer makes: reads the
/// records at the front of `lines` (whole lines) that are exactly a blank or minus sign,
/// d.dddE, a signed two-digit exponent and the line end the first of them has (CR LF, or
/// LF alone), whose exponent lies within 22 of 3, at most `count` of them, into `values`.
/// Returns how many it read, each `length` bytes long; the record after them, if any, is
/// for readModelRecord. Each value is the one readModelRecord reads from the same text.
size_t readExactRecords(std::string_view lines, double* values, size_t count, size_t& length);
