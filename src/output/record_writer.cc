#include "output/record_writer.h"

#include <cstring>

#include "output/format_model_value.h"
#include "runtime/connections/connection_output.h"
#include "runtime/connections/console_connection.h"

namespace {

void appendReal(RecordWriter& writer, double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof bits);
  if (!writer.lastRealValid || bits != writer.lastRealBits) {
    formatModelValue(value, writer.lastRealText);
    writer.lastRealBits = bits;
    writer.lastRealValid = true;
  }
  appendToRecord(*writer.connection, writer.lastRealText, sizeof writer.lastRealText);
}

}  // namespace

void emit(RecordWriter& writer, OutputLayout layout, std::span<const OutputValue> values) {
  Connection& connection = *writer.connection;
  size_t next = 0;
  startRecord(connection);
  for (const LayoutElement& element : layout) {
    switch (element.kind) {
      case ElementKind::Literal:
        appendToRecord(connection, element.literal.data(), element.literal.size());
        break;
      case ElementKind::TextItem:
        if (next < values.size()) {
          std::string_view text = values[next++].text;
          appendToRecord(connection, text.data(), text.size());
        }
        break;
      case ElementKind::RealItem:
        if (next < values.size()) appendReal(writer, values[next++].real);
        break;
      case ElementKind::RecordBreak:
        completeRecord(connection);
        break;
    }
  }
  completeRecord(connection);
}

size_t modelRecordLength(const RecordWriter& writer) {
  return kModelValueWidth + recordTerminator(*writer.connection).size();
}

void terminateModelRecord(const RecordWriter& writer, char* record) {
  const std::string_view terminator = recordTerminator(*writer.connection);
  std::memcpy(record + kModelValueWidth, terminator.data(), terminator.size());
}

size_t reserveModelRecords(RecordWriter& writer, size_t wanted, char*& room) {
  Connection& connection = *writer.connection;
  const size_t length = modelRecordLength(writer);
  startRecord(connection);
  const size_t count = recordBatch(connection, length, wanted);
  room = recordSpace(connection, count * length);
  return count;
}

void completeModelRecords(RecordWriter& writer, size_t count) {
  completeRecords(*writer.connection, count, modelRecordLength(writer));
}

RecordWriter consoleWriter() {
  RecordWriter writer;
  writer.connection = &consoleConnection();
  return writer;
}
