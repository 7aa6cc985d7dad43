// The plain form of the model value's text, made with exact decimal arithmetic; the
// reference the fast form is tested against.
#pragma once

#include "output/format_model_value.h"

/// Writes the same text as formatModelValue, computed by plain exact integer arithmetic on the
/// stored binary value; slow, kept as the reference the fast form is checked against.
void formatModelValueExact(double value, char out[kModelValueWidth]);
