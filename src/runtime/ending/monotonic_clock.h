// The clock that deadlines of the end of the run are measured on.
#pragma once

#include <cstdint>

/// The monotonic clock in nanoseconds. Async-signal-safe.
int64_t monotonicNanoseconds();
