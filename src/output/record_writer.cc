#include "output/record_writer.h"

#include <cstring>

#include "output/format_model_value.h"
#include "runtime/connection_output.h"
#include "runtime/console_connection.h"

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

namespace {

// Renders `count` records of the values into `room`, each the value's text and the
// terminator; `Length` is the record length, terminator included.
template <size_t Length>
void renderRealRecords(RecordWriter& writer, const double* values, size_t count, char* room,
                       std::string_view terminator) {
  char record[Length];
  std::memcpy(record, writer.lastRealText, sizeof writer.lastRealText);
  std::memcpy(record + sizeof writer.lastRealText, terminator.data(), terminator.size());
  for (size_t i = 0; i < count; ++i) {
    uint64_t bits;
    std::memcpy(&bits, &values[i], sizeof bits);
    // Models repeat a few values over long runs: render only when the value changes.
    if (!writer.lastRealValid || bits != writer.lastRealBits) {
      formatModelValue(values[i], writer.lastRealText);
      writer.lastRealBits = bits;
      writer.lastRealValid = true;
      std::memcpy(record, writer.lastRealText, sizeof writer.lastRealText);
    }
    std::memcpy(room + i * Length, record, Length);
  }
}

}  // namespace

void emitRealRecords(RecordWriter& writer, const double* values, size_t count) {
  Connection& connection = *writer.connection;
  std::string_view terminator = recordTerminator(connection);
  size_t length = sizeof writer.lastRealText + terminator.size();
  startRecord(connection);
  while (count > 0) {
    size_t batch = recordBatch(connection, length, count);
    char* room = recordSpace(connection, batch * length);
    if (length == 12) {
      renderRealRecords<12>(writer, values, batch, room, terminator);
    } else {
      renderRealRecords<11>(writer, values, batch, room, terminator);
    }
    completeRecords(connection, batch, length);
    values += batch;
    count -= batch;
  }
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
