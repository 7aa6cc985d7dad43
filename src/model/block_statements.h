// The read statements of the block file: the background, the block count and one
// statement per block.
#pragma once

#include <cstdint>

#include "freeform/free_form_reader.h"
#include "model/block_record.h"

/// Reads the background value (the first statement) and the number of blocks (the
/// second). An item that a null or an early slash leaves unread keeps its value.
void readBlockFileHead(FreeFormReader& reader, double& background, int32_t& blockCount);

/// Reads the seven values of the next block, e1 e2 n1 n2 z1 z2 value, into `block`, as
/// one statement. A field that a null or an early slash leaves unread keeps the value it
/// had, so one record read block after block carries such fields over.
void readBlock(FreeFormReader& reader, BlockRecord& block);
