// The records of a model file read into its values, one pass front to back, and what
// went wrong as a value: the caller decides how a failure ends.
#pragma once

#include <cstdint>
#include <string>

#include "companion/line_reader.h"
#include "mesh/mesh.h"
#include "model_files/model_record.h"

/// How reading a model's records went.
enum class ModelReading {
  Sound,      // exactly one sound record per cell
  BadRecord,  // a record that is not one number and its line end
  TooFew,     // the file ends before every cell has its record
  TooMany,    // a record after the last cell's
  ReadError,  // a read failed
  Stopped,    // the caller's control stopped the reading
};

/// What lets a caller stop a long read: `keepGoing(context)`, asked between batches of
/// records (a megabyte or so each), stops the reading when it returns false.
struct ReadControl {
  bool (*keepGoing)(void* context) = nullptr;
  void* context = nullptr;
};

/// What reading a model's records met.
struct ModelReadOutcome {
  ModelReading reading = ModelReading::Sound;
  int64_t record = 0;                           // the number of the record it concerns, from 1
  RecordProblem problem = RecordProblem::None;  // BadRecord: what is wrong with it
  std::string quote;                            // BadRecord: its text as an error quotes it
  int error = 0;                                // ReadError: the system's error number
};

/// Reads `count` records from `reader` into `values` and checks that the file ends there.
/// With `control`, the reading stops between batches once it says so (Stopped).
ModelReadOutcome readModelRecords(LineReader& reader, double* values, int64_t count,
                                  const ReadControl* control = nullptr);

/// The one-line error for `outcome` (not Sound) met reading the model `name` for `mesh`.
std::string modelReadError(const ModelReadOutcome& outcome, const char* name, const Mesh& mesh,
                           int64_t cells);
