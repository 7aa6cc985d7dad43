#include "runtime/message_catalogue.h"

#include <algorithm>
#include <iterator>

namespace {

// Sorted by number.
constexpr MessageEntry kCatalogue[] = {
    {9, Severity::Severe, "permission to access file denied, unit %d, file %s"},
    {10, Severity::Severe, "cannot overwrite existing file, unit %d, file %s"},
    {24, Severity::Severe, "end-of-file during read, unit %d, file %s"},
    {28, Severity::Severe, "CLOSE error, unit %d, file %s"},
    {29, Severity::Severe, "file not found, unit %d, file %s"},
    {30, Severity::Severe, "open failure, unit %d, file %s"},
    {38, Severity::Severe, "error during write, unit %d, file %s"},
    {39, Severity::Severe, "error during read, unit %d, file %s"},
    {41, Severity::Severe, "insufficient virtual memory"},
    {42, Severity::Severe, "no such device, unit %d, file %s"},
    {43, Severity::Severe, "file name specification error, unit %d, file %s"},
    {59, Severity::Severe, "list-directed I/O syntax error, unit %d, file %s"},
    {64, Severity::Severe, "input conversion error, unit %d, file %s"},
    {96, Severity::Warning, "F_UFMTENDIAN environment variable was ignored:erroneous syntax"},
    {98, Severity::Severe,
     "cannot allocate memory for the file buffer - out of memory, unit %d, file %s"},
    {157, Severity::Severe, "Program Exception - access violation"},
    {158, Severity::Severe, "Program Exception - bus error"},
    {159, Severity::Severe, "Program Exception - breakpoint"},
    {160, Severity::Severe, "Program Exception - single step"},
    {161, Severity::Severe, "Program Exception - subscript out of range"},
    {162, Severity::Severe, "Program Exception - denormal floating-point operand"},
    {163, Severity::Severe, "Program Exception - floating-point divide by zero"},
    {164, Severity::Severe, "Program Exception - floating-point inexact result"},
    {165, Severity::Severe, "Program Exception - floating-point invalid operation"},
    {166, Severity::Severe, "Program Exception - floating-point overflow"},
    {167, Severity::Severe, "Program Exception - integer overflow"},
    {168, Severity::Severe, "Program Exception - floating-point underflow"},
    {169, Severity::Severe, "Program Exception - integer divide by zero"},
    {170, Severity::Severe, "Program Exception - stack overflow"},
    {171, Severity::Severe, "Program Exception - illegal instruction"},
    {172, Severity::Severe, "Program Exception - exception code = 0x%lx (%ld)"},
    {179, Severity::Severe, "Cannot allocate array - overflow on array size calculation."},
    {200, Severity::Error, "program aborting due to %s event"},
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
