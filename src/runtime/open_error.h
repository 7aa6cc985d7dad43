// Why an open failed, as a message number.
#pragma once

#include <cstdint>

/// The message number for the `errno` value an open failed with.
int32_t messageForOpenError(int error);
