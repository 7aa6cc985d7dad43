// Why an open failed, as a message number.
#pragma once

#include <cstdint>

/// The number of the message for the `errno` value an open failed with: the status an
/// input open returns.
int32_t messageForOpenError(int error);
