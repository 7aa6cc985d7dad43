#include "output/record_writer.h"

#include <cstring>
#include <string>

#include "output/format_model_value.h"
#include "runtime/connections/connection_output.h"
#include "runtime/connections/console_connection.h"

namespace {

// Completes `record` with the connection's terminator and hands it over as one record.
void writeRecord(Connection& connection, std::string& record) {
  record.append(recordTerminator(connection));
  const RecordRoom room = reserveRecords(connection, record.size(), 1);
  std::memcpy(room.bytes, record.data(), record.size());
  commitRecords(connection, 1);
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

size_t modelRecordLength(const RecordWriter& writer) {
  return kModelValueWidth + recordTerminator(*writer.connection).size();
}

void terminateModelRecord(const RecordWriter& writer, char* record) {
  const std::string_view terminator = recordTerminator(*writer.connection);
  std::memcpy(record + kModelValueWidth, terminator.data(), terminator.size());
}

void expectModelRecords(RecordWriter& writer, int64_t count) {
  if (count <= 0) return;
  expectOutput(*writer.connection, static_cast<uint64_t>(count) * modelRecordLength(writer));
}

size_t reserveModelRecords(RecordWriter& writer, size_t wanted, char*& room) {
  const RecordRoom reserved = reserveRecords(*writer.connection, modelRecordLength(writer), wanted);
  room = reserved.bytes;
  return reserved.count;
}

void completeModelRecords(RecordWriter& writer, size_t count) {
  commitRecords(*writer.connection, count);
}

RecordWriter consoleWriter() {
  RecordWriter writer;
  writer.connection = &consoleConnection();
  return writer;
}
