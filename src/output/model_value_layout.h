// The layout of one model-file record.
#pragma once

#include "output/output_layout.h"

/// One real item: each output operation writes one record of 10 characters.
inline constexpr LayoutElement kModelValueElements[] = {{ElementKind::RealItem}};
inline constexpr OutputLayout modelValueLayout{kModelValueElements};
