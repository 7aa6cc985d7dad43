#include "runtime/diagnostics/message_catalogue.h"

#include <algorithm>
#include <iterator>

namespace {

// Sorted by number.
constexpr MessageEntry kCatalogue[] = {
    {numberOf(Message::AccessDenied), Severity::Severe,
     "permission to access file denied, unit %d, file %s"},
    {numberOf(Message::FileExists), Severity::Severe,
     "cannot overwrite existing file, unit %d, file %s"},
    {numberOf(Message::EndOfFile), Severity::Severe, "end-of-file during read, unit %d, file %s"},
    {numberOf(Message::CloseError), Severity::Severe, "CLOSE error, unit %d, file %s"},
    {numberOf(Message::FileNotFound), Severity::Severe, "file not found, unit %d, file %s"},
    {numberOf(Message::OpenFailure), Severity::Severe, "open failure, unit %d, file %s"},
    {numberOf(Message::WriteError), Severity::Severe, "error during write, unit %d, file %s"},
    {numberOf(Message::ReadError), Severity::Severe, "error during read, unit %d, file %s"},
    {numberOf(Message::OutOfMemory), Severity::Severe, "insufficient virtual memory"},
    {numberOf(Message::NoSuchDevice), Severity::Severe, "no such device, unit %d, file %s"},
    {numberOf(Message::BadFileName), Severity::Severe,
     "file name specification error, unit %d, file %s"},
    {numberOf(Message::SyntaxError), Severity::Severe,
     "list-directed I/O syntax error, unit %d, file %s"},
    {numberOf(Message::ConversionError), Severity::Severe,
     "input conversion error, unit %d, file %s"},
    {numberOf(Message::TerminatorSwitchIgnored), Severity::Warning,
     "F_UFMTENDIAN environment variable was ignored:erroneous syntax"},
    {numberOf(Message::BufferOutOfMemory), Severity::Severe,
     "cannot allocate memory for the file buffer - out of memory, unit %d, file %s"},
    {numberOf(Message::AccessViolation), Severity::Severe, "Program Exception - access violation"},
    {numberOf(Message::BusError), Severity::Severe, "Program Exception - bus error"},
    {numberOf(Message::Breakpoint), Severity::Severe, "Program Exception - breakpoint"},
    {numberOf(Message::SingleStep), Severity::Severe, "Program Exception - single step"},
    {numberOf(Message::SubscriptOutOfRange), Severity::Severe,
     "Program Exception - subscript out of range"},
    {numberOf(Message::DenormalOperand), Severity::Severe,
     "Program Exception - denormal floating-point operand"},
    {numberOf(Message::FloatDivideByZero), Severity::Severe,
     "Program Exception - floating-point divide by zero"},
    {numberOf(Message::FloatInexact), Severity::Severe,
     "Program Exception - floating-point inexact result"},
    {numberOf(Message::FloatInvalid), Severity::Severe,
     "Program Exception - floating-point invalid operation"},
    {numberOf(Message::FloatOverflow), Severity::Severe,
     "Program Exception - floating-point overflow"},
    {numberOf(Message::IntegerOverflow), Severity::Severe, "Program Exception - integer overflow"},
    {numberOf(Message::FloatUnderflow), Severity::Severe,
     "Program Exception - floating-point underflow"},
    {numberOf(Message::IntegerDivideByZero), Severity::Severe,
     "Program Exception - integer divide by zero"},
    {numberOf(Message::StackOverflow), Severity::Severe, "Program Exception - stack overflow"},
    {numberOf(Message::IllegalInstruction), Severity::Severe,
     "Program Exception - illegal instruction"},
    {numberOf(Message::UnknownException), Severity::Severe,
     "Program Exception - exception code = 0x%lx (%ld)"},
    {numberOf(Message::ArraySizeOverflow), Severity::Severe,
     "Cannot allocate array - overflow on array size calculation."},
    {numberOf(Message::ConsoleEvent), Severity::Error, "program aborting due to %s event"},
};

constexpr const char* kPrefixes[] = {
    "forrtl: ",
    "forrtl: info (%i): ",
    "forrtl: warning (%i): ",
    "forrtl: error (%i): ",
    "forrtl: severe (%i): ",
};

}  // namespace

const MessageEntry* findMessage(int32_t number) {
  int32_t key = number & 0xFFFF;
  const MessageEntry* end = std::end(kCatalogue);
  const MessageEntry* found = std::lower_bound(
      std::begin(kCatalogue), end, key,
      [](const MessageEntry& entry, int32_t wanted) { return entry.number < wanted; });
  return found != end && found->number == key ? found : nullptr;
}

const char* messagePrefix(int severity) {
  return severity >= 1 && severity <= 4 ? kPrefixes[severity] : kPrefixes[0];
}

std::string_view messageReason(Message message) {
  const MessageEntry* entry = findMessage(numberOf(message));
  if (entry == nullptr) return {};
  const std::string_view text = entry->text;
  const size_t unit = text.find(", unit %d");
  return unit == std::string_view::npos ? text : text.substr(0, unit);
}
