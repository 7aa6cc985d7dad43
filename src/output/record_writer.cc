#include "output/record_writer.h"

#include <cstring>
#include <string>

#include "output/format_model_value.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_output.h"
#include "runtime/connections/console_connection.h"
#include "runtime/records/record_batch.h"

namespace {

// Hands `record` over as one record; the channel ends it with its terminator.
void writeRecord(Connection& connection, std::string& record) {
  RecordRoom room;
  settleOutput(connection, reserveRecords(connection.output, record.size(), 1, room));
  std::memcpy(room.bytes, record.data(), record.size());
  settleOutput(connection, commitRecords(connection.output, 1));
  record.clear();
}

}  // namespace

void emit(RecordWriter& writer, OutputLayout layout, std::span<const OutputValue> values) {
  Connection& connection = *writer.connection;
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
        writeRecord(connection, record);
        break;
    }
  }
  writeRecord(connection, record);
}

RecordWriter consoleWriter() {
  RecordWriter writer;
  writer.connection = &consoleConnection();
  return writer;
}
