#include "check/program/check_failure.h"

#include <string>
#include <string_view>
#include <vector>

#include "check/program/reading_stop.h"
#include "check/program/remark_note.h"
#include "check/reading/block_lines.h"
#include "companion/companion_events.h"
#include "companion/device_name.h"
#include "companion/exit_status.h"
#include "companion/line_text.h"
#include "output/not_found_layout.h"
#include "runtime/connections/open_connection.h"
#include "runtime/diagnostics/message_catalogue.h"
#include "runtime/diagnostics/report_diagnostic.h"

namespace {

bool printJson = false;

// What was being read, in the user's words.
std::string partRead(const ReadingPlace& place) {
  if (place.block > 0) {
    return "block " + std::to_string(place.block) + " of " + std::to_string(place.blockCount);
  }
  return place.part != nullptr ? place.part : "";
}

// The line boxpaint prints for `failure`, with its unit and file where it has them.
std::string messageLine(const Failure& failure) {
  const Diagnostic diagnostic = diagnosticOf(failure);
  char line[1024];
  TextBuffer buffer{line, sizeof line, 0, false};
  formatMessageLine(buffer, diagnostic.message, diagnostic.arguments, diagnostic.argumentCount);
  std::string text(buffer.data, buffer.length);
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

// "; block 2 reads on past its line: ..." when a block before the end of the file `path`
// took values from the line after its own, which is what makes such a file end early.
std::string readOnNote(const char* path, std::span<const BlockLines> blocksRead) {
  std::vector<BlockLines> spread;
  std::vector<int32_t> numbers;
  for (size_t b = 0; b < blocksRead.size(); ++b) {
    if (blocksRead[b].last <= blocksRead[b].first) continue;
    spread.push_back(blocksRead[b]);
    numbers.push_back(static_cast<int32_t>(b) + 1);
  }
  skipBlankLines(path, spread);
  for (size_t i = 0; i < spread.size(); ++i) {
    const BlockLines& lines = spread[i];
    if (lines.first >= lines.last) continue;
    return "; block " + std::to_string(numbers[i]) + " reads on past its line: its values " +
           "run from line " + std::to_string(lines.first) + " to line " +
           std::to_string(lines.last);
  }
  return "";
}

// Most blank lines looked at before the line a block's values were refused on.
constexpr int64_t kBlankLinesLookedAt = 16;

// True when the block being read took no value before line `line` of `path`: its
// statement began there, or on blank lines just before.
bool blankBetween(const char* path, int64_t first, int64_t line) {
  if (line - first > kBlankLinesLookedAt) return false;
  std::string text;
  for (int64_t before = first; before < line; ++before) {
    if (!lineText(path, before, text) || text.find_first_not_of(" \t\r") != std::string::npos) {
      return false;
    }
  }
  return true;
}

// A read of an input file failed: where it stopped comes with the failure.
ReadingStop readStop(const Failure& failure, const ReadingPlace& place) {
  ReadingStop stop;
  stop.file = failure.fileName;
  stop.part = partRead(place);
  stop.line = failure.line;
  stop.message = messageLine(failure);
  switch (failure.message) {
    case Message::SyntaxError:
    case Message::ConversionError:
      stop.place = StopPlace::AtLine;
      stop.problem = "a value boxpaint cannot read";
      stop.hasText = lineText(failure.fileName, stop.line, stop.text);
      if (stop.hasText && place.block > 0 &&
          blankBetween(failure.fileName, place.blockRecord, stop.line)) {
        stop.note = remarkNote(stop.text, stop.line);
      }
      break;
    case Message::EndOfFile:
      stop.place = StopPlace::AfterLine;
      stop.problem = "the file ends too early" + readOnNote(failure.fileName, place.blocksRead);
      break;
    default:
      stop.place = StopPlace::AfterLine;
      stop.problem = std::string(messageReason(failure.message));
      break;
  }
  return stop;
}

// Memory refused, or an array too large for boxpaint's sizes.
ReadingStop memoryStop(const Failure& failure, const ReadingPlace& place) {
  ReadingStop stop;
  stop.file = place.file;
  stop.part = partRead(place);
  stop.problem = failure.message == Message::ArraySizeOverflow
                     ? "the mesh is too large for boxpaint"
                     : "memory ran out";
  stop.message = messageLine(failure);
  return stop;
}

// A file that cannot be opened: boxpaint says so on standard output and ends with status
// 0, writing no model.
ReadingStop missingFileStop(const ReadingPlace& place) {
  ReadingStop stop;
  stop.file = place.file;
  stop.problem = "the file cannot be opened";
  stop.message = notFoundLine(place.file);
  return stop;
}

// A failure that the run-time layer ended the run for: memory refused to a list.
CompanionFailure runFailureWords(const Failure& failure) {
  return readingFailure(failure, ReadingPlace{}, printJson);
}

}  // namespace

void installCheckFailureHandler() {
  installCompanionFailureHandler(kCheckProgram, runFailureWords);
}

void setFailureJson(bool json) {
  printJson = json;
}

CompanionFailure readingFailure(const Failure& failure, const ReadingPlace& place, bool json) {
  const ReadingStop stop = isOpenRefusal(failure)        ? missingFileStop(place)
                           : failure.fileName[0] == '\0' ? memoryStop(failure, place)
                                                         : readStop(failure, place);
  return readingStopFailure(stop, json, numberOf(failure.message));
}

CompanionFailure inputDeviceRefusal(const std::string& file, bool json) {
  const NamedDevice device = namedDevice(file);
  if (device.kind == DeviceKind::None || device.kind == DeviceKind::StandardInput) return {};
  ReadingStop stop;
  stop.file = file;
  stop.problem = "names " + device.words + ", not a file";
  stop.note = "boxpaint would read that device in the file's place";
  return readingStopFailure(stop, json, 0);
}

CompanionFailure readingStopFailure(const ReadingStop& stop, bool json, int32_t number) {
  CompanionFailure failure = failureOf(kFailureStatus, readingStopHead(stop));
  failure.detail = readingStopDetail(stop);
  if (json) failure.json = readingStopJson(stop);
  failure.file = stop.file;
  failure.line = stop.line;
  failure.message = number;
  return failure;
}
