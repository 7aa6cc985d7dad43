#include "output/record_writer.h"

#include <cstring>
#include <string>

#include "output/format_model_value.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_output.h"
#include "runtime/connections/console_connection.h"
#include "runtime/records/record_batch.h"

namespace {

// Hands `record` over as one record; the channel ends it with its terminator. False when
// the writer failed.
bool writeRecord(RecordWriter& writer, std::string& record) {
  Connection& connection = *writer.connection;
  RecordRoom room;
  writer.failure =
      outputFailure(connection, reserveRecords(connection.output, record.size(), 1, room));
  if (writer.failure) return false;
  std::memcpy(room.bytes, record.data(), record.size());
  record.clear();
  writer.failure = outputFailure(connection, commitRecords(connection.output, 1));
  return !writer.failure;
}

}  // namespace

bool emit(RecordWriter& writer, OutputLayout layout, std::span<const OutputValue> values) {
  if (writer.failure) return false;
  std::string record;
  size_t next = 0;
  for (const LayoutElement& element : layout) {
    switch (element.kind) {
      case ElementKind::Literal:
        record.append(element.literal);
        break;
      case ElementKind::TextItem:
        if (next < values.size()) record.append(values[next++].text);
        break;
      case ElementKind::RealItem:
        if (next < values.size()) {
          char text[kModelValueWidth];
          formatModelValue(values[next++].real, text);
          record.append(text, sizeof text);
        }
        break;
      case ElementKind::RecordBreak:
        if (!writeRecord(writer, record)) return false;
        break;
    }
  }
  return writeRecord(writer, record);
}

RecordWriter consoleWriter() {
  RecordWriter writer;
  writer.connection = consoleConnection(writer.failure);
  return writer;
}
