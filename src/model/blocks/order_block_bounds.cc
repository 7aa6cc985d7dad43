#include "model/blocks/order_block_bounds.h"

#include <utility>

void orderBlockBounds(BlockRecord& block) {
  if (block.n1 > block.n2) std::swap(block.n1, block.n2);
  if (block.e1 > block.e2) std::swap(block.e1, block.e2);
  // Elevation nodes fall from the top, so the higher bound snaps to the lower node index.
  if (block.z1 < block.z2) std::swap(block.z1, block.z2);
}
