// Output operations: records built from a layout and its values, written to one
// destination.
#pragma once

#include <cstdint>
#include <span>

#include "output/output_layout.h"
#include "runtime/diagnostics/failure.h"

struct Connection;

/// One destination of records, and the first failure of its writes, which sticks: a writer
/// that failed writes nothing more.
struct RecordWriter {
  Connection* connection = nullptr;
  Failure failure;
};

/// Writes the records that `layout` makes of `values` (taken in the order of the
/// item elements). The operation starts a new record, completes each record at a
/// break and writes the last one even when it is empty. False when a write failed:
/// `writer.failure` says how (38 refused, 41 memory, or the stop).
bool emit(RecordWriter& writer, OutputLayout layout, std::span<const OutputValue> values);

/// The writer for the console output; a failed one when the console output cannot be had
/// (the file the FOR_PRINT switch names cannot be opened).
RecordWriter consoleWriter();
