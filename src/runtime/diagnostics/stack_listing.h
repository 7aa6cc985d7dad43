// The call-stack listing that follows a diagnostic.
#pragma once

#include "runtime/diagnostics/text_buffer.h"

/// Text appended when the walk of the stack stops before its natural end.
constexpr char kListingTerminated[] = "\nStack trace terminated abnormally.\n";
/// Text appended when the buffer is too small for every frame.
constexpr char kListingOverflow[] = "\nStack trace buffer overflow; further frames not shown.\n";

/// Prepares what a listing needs, so that a listing made inside a fault handler
/// allocates nothing: loads the unwinder and records the loaded modules.
void prepareStackListing();

/// Appends the listing of the calling thread's stack, innermost frame first: the
/// header line (or the verbose heading) and one line (or block) per frame. Room for
/// the closing texts is kept throughout. Nothing is appended when a listing is
/// already in progress; listings of several threads are made one at a time.
void appendCallStackListing(TextBuffer& buffer, bool verbose);

/// The same listing for a fault handler: no locks, no memory, module names from the
/// table recorded by `prepareStackListing`, routine names "Unknown".
void appendSignalSafeListing(TextBuffer& buffer);
