// The records of model values, as the model file holds them.
#pragma once

#include <cstddef>
#include <string_view>

#include "boxpaint/model.h"

/// The bytes that end each record with `terminator`.
std::string_view terminatorBytes(boxpaint::Terminator terminator);

/// Writes one record per value of the `count` at `values` to `out`: the value's text as
/// formatModelValue writes it, then `terminator` (one or two bytes). A value equal in
/// every bit to the one before it takes that one's record by copy.
void renderRecords(const double* values, size_t count, std::string_view terminator, char* out);

/// Writes the text of each of the `count` values at `values` (formatModelValue's) to
/// `out`, one every `stride` bytes; the bytes between the texts are left as they are, as
/// an output channel's terminators stand there.
void renderTexts(const double* values, size_t count, size_t stride, char* out);
