// Output operations: records built from a layout and its values, written to one
// destination.
#pragma once

#include <cstdint>
#include <span>

#include "output/output_layout.h"

struct Connection;

/// One destination of records.
struct RecordWriter {
  Connection* connection = nullptr;
};

/// Writes the records that `layout` makes of `values` (taken in the order of the
/// item elements). The operation starts a new record, completes each record at a
/// break and writes the last one even when it is empty. A refused write ends the run.
void emit(RecordWriter& writer, OutputLayout layout, std::span<const OutputValue> values);

/// The writer for the console output.
RecordWriter consoleWriter();
