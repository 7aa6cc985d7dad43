// The value a model record's text reads back as.
#pragma once

#include "output/format_model_value.h"

/// The value that `text`, a model value's text as formatModelValue writes it, reads back
/// as: for "sd.dddE+dd" with an exponent within 22 of 3, the four digits scaled by an
/// exact power of ten in one rounded operation, else as modelTextValuePlain reads it.
double modelTextValue(const char text[kModelValueWidth]);

/// The value that `text` reads back as, the plain way: read as the input files' numbers
/// are, except the text of the largest doubles ("1.798+308"), which lies just beyond them
/// and stands for the largest double.
double modelTextValuePlain(const char text[kModelValueWidth]);
