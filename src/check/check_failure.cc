#include "check/check_failure.h"

#include <string>
#include <string_view>
#include <vector>

#include "check/block_lines.h"
#include "check/reading_stop.h"
#include "check/remark_note.h"
#include "companion/exit_status.h"
#include "companion/line_text.h"
#include "companion/system_files.h"
#include "output/not_found_layout.h"
#include "runtime/diagnostics/report_diagnostic.h"
#include "runtime/ending/failure_handler.h"
#include "runtime/ending/run_end.h"
#include "runtime/environment/command_line.h"

namespace {

bool printJson = false;
const char* readingFile = nullptr;
const char* readingPart = nullptr;
int32_t readingBlock = 0;  // 0: not in a block
int32_t readingBlockCount = 0;
int64_t readingBlockLine = 0;
// The blocks that took values from more than one line, and those lines.
std::vector<int32_t> readOnBlocks;
std::vector<BlockLines> readOnLines;

// Writes `text` to standard output, or standard error when `error`; nothing more can be
// said if that fails.
void writeText(bool error, std::string_view text) {
  writeWhole(standardOutput(error), text.data(), text.size());
}

[[noreturn]] void endWith(const ReadingStop& stop) {
  if (printJson) writeText(false, readingStopJson(stop));
  writeText(true, readingStopText(stop));
  endProcess(kFailureStatus);
}

// What was being read, in the user's words.
std::string readingPlace() {
  if (readingBlock > 0) {
    return "block " + std::to_string(readingBlock) + " of " + std::to_string(readingBlockCount);
  }
  return readingPart != nullptr ? readingPart : "";
}

// The line boxpaint prints for message `number` (with the unit and file when given).
std::string messageLine(int32_t number, int32_t unit, const char* fileName) {
  const Message message = static_cast<Message>(number);
  MessageArgument arguments[2];
  arguments[0].number = unit;
  arguments[1].isText = true;
  arguments[1].text = fileName;
  char line[1024];
  TextBuffer buffer{line, sizeof line, 0, false};
  formatMessageLine(buffer, message, arguments, fileName != nullptr ? 2 : 0);
  std::string text(buffer.data, buffer.length);
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return text;
}

// "; block 2 reads on past its line: ..." when a block before the end of the file `path`
// took values from the line after its own, which is what makes such a file end early.
std::string readOnNote(const char* path) {
  if (path == nullptr) return "";
  skipBlankLines(path, readOnLines);
  for (size_t i = 0; i < readOnLines.size(); ++i) {
    const BlockLines& lines = readOnLines[i];
    if (lines.first >= lines.last) continue;
    return "; block " + std::to_string(readOnBlocks[i]) + " reads on past its line: its values " +
           "run from line " + std::to_string(lines.first) + " to line " +
           std::to_string(lines.last);
  }
  return "";
}

// Most blank lines looked at before the line a block's values were refused on.
constexpr int64_t kBlankLinesLookedAt = 16;

// True when the block being read took no value before line `line` of `path`: its
// statement began there, or on blank lines just before.
bool blankBetween(const char* path, int64_t line) {
  if (line - readingBlockLine > kBlankLinesLookedAt) return false;
  std::string text;
  for (int64_t before = readingBlockLine; before < line; ++before) {
    if (!lineText(path, before, text) || text.find_first_not_of(" \t\r") != std::string::npos) {
      return false;
    }
  }
  return true;
}

// A read of an input file failed: where it stopped comes with the failure.
ReadingStop readFailure(const RunFailure& failure) {
  ReadingStop stop;
  stop.file = failure.fileName != nullptr ? failure.fileName : "";
  stop.part = readingPlace();
  stop.line = failure.recordsRead;
  stop.message = messageLine(failure.number, failure.unit, failure.fileName);
  switch (static_cast<Message>(failure.number)) {
    case Message::SyntaxError:
    case Message::ConversionError:
      stop.place = StopPlace::AtLine;
      stop.problem = "a value boxpaint cannot read";
      stop.hasText = lineText(failure.fileName, stop.line, stop.text);
      if (stop.hasText && readingBlock > 0 && blankBetween(failure.fileName, stop.line)) {
        stop.note = remarkNote(stop.text, stop.line);
      }
      break;
    case Message::EndOfFile:
      stop.place = StopPlace::AfterLine;
      stop.problem = "the file ends too early" + readOnNote(failure.fileName);
      break;
    default:
      stop.place = StopPlace::AfterLine;
      stop.problem = std::string(failure.reason);
      break;
  }
  return stop;
}

// Memory refused, or an array too large for boxpaint's sizes.
ReadingStop memoryFailure(const RunFailure& failure) {
  ReadingStop stop;
  stop.file = readingFile != nullptr ? readingFile : "";
  stop.part = readingPlace();
  stop.problem = failure.number == numberOf(Message::ArraySizeOverflow)
                     ? "the mesh is too large for boxpaint"
                     : "memory ran out";
  stop.message = messageLine(failure.number, 0, nullptr);
  return stop;
}

void handleFailure(const RunFailure& failure) {
  switch (failure.kind) {
    case FailureKind::Terminate:
      return;  // the process ends by SIGTERM
    case FailureKind::ProcessorException:
      // Inside a signal handler: nothing but writes.
      writeText(true, "boxpaint-check: internal fault: ");
      writeText(true, failure.reason);
      writeText(true, "\n");
      endProcess(kFailureStatus);
    case FailureKind::ConsoleEvent:
      writeText(true, "boxpaint-check: interrupted\n");
      endProcess(kFailureStatus);
    case FailureKind::InputOutput:
      endWith(readFailure(failure));
    case FailureKind::Memory:
      endWith(memoryFailure(failure));
  }
  endProcess(kFailureStatus);
}

}  // namespace

void installCheckFailureHandler() {
  setFailureHandler(handleFailure);
}

void setFailureJson(bool json) {
  printJson = json;
}

void setCheckReading(const char* fileName, const char* part) {
  readingFile = fileName;
  readingPart = part;
  readingBlock = 0;
}

void setCheckReadingBlock(int32_t block, int32_t count, int64_t line) {
  readingBlock = block;
  readingBlockCount = count;
  readingBlockLine = line;
}

void setCheckReadOn(int32_t block, int64_t first, int64_t last) {
  readOnBlocks.push_back(block);
  readOnLines.push_back({first, last});
}

void failMissingFile(const char* name, int length) {
  // Claimed like every other end, so that a console event cannot end the run halfway.
  claimRunEnd();
  const std::string_view given = nameInBuffer(name, length);
  ReadingStop stop;
  stop.file = given;
  stop.problem = "the file cannot be opened";
  // boxpaint says so on standard output and ends with status 0, writing no model.
  stop.message = notFoundLine(given);
  endWith(stop);
}
