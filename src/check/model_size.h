// The size check boxpaint makes on the model before it opens the block file.
#pragma once

#include "mesh/mesh.h"

/// Ends the run with boxpaint's message 179 when the model of `mesh` is too large for the
/// 32-bit size arithmetic boxpaint creates it with. Nothing the size of the model is
/// allocated.
void checkModelSize(const Mesh& mesh);
