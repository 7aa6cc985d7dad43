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

/// Bytes of one model record on the writer's connection: 10 characters and the
/// terminator.
size_t modelRecordLength(const RecordWriter& writer);

/// Writes the writer's record terminator behind the 10-character text at `record`, which
/// has room for `modelRecordLength` bytes: a ready record to copy.
void terminateModelRecord(const RecordWriter& writer, char* record);

/// Tells the writer that `count` model records are to follow, so that a long model is
/// handed to the system on the writer thread from its first buffer.
void expectModelRecords(RecordWriter& writer, int64_t count);

/// Makes room for up to `wanted` (> 0) ready model records behind the complete ones:
/// returns how many fit, at least one, and where they go.
size_t reserveModelRecords(RecordWriter& writer, size_t wanted, char*& room);

/// Completes `count` model records copied into the room from `reserveModelRecords`: the
/// same bytes as `emit` with `modelValueLayout` once per record.
void completeModelRecords(RecordWriter& writer, size_t count);

/// The writer for the console output.
RecordWriter consoleWriter();
