// Putting a block's bounds in order before they are snapped.
#pragma once

#include "model/blocks/block_record.h"

/// Swaps each bound pair in place so that e1 <= e2, n1 <= n2 and z1 >= z2 (z1 is the top);
/// a pair holding a NaN compares false and stays as it was.
void orderBlockBounds(BlockRecord& block);
