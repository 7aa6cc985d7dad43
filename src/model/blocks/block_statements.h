// The read statements of the block file: the background, the block count and one
// statement per block.
#pragma once

#include <cstddef>
#include <cstdint>

#include "freeform/free_form_reader.h"
#include "model/blocks/block_record.h"

/// Reads the background value (the first statement) and the number of blocks (the
/// second). An item that a null or an early slash leaves unread keeps its value. False
/// when the reader failed.
bool readBlockFileHead(FreeFormReader& reader, double& background, int32_t& blockCount);

/// Reads the seven values of the next block, e1 e2 n1 n2 z1 z2 value, into `block`, as
/// one statement. A field that a null or an early slash leaves unread keeps the value it
/// had, so one record read block after block carries such fields over. False when the
/// reader failed, with `block` as it was.
bool readBlock(FreeFormReader& reader, BlockRecord& block);

/// Reads the record at `line` as readBlock reads one that gives all seven values as plain
/// decimals, each after blanks only, the rest of the record dropped (see
/// readPlainDecimalLine for `textEnd`, `readableEnd` and `terminator`). Returns the
/// record's length with its terminator, or 0, with `block` as it was, for any other record.
size_t readBlockLine(const char* line, const char* textEnd, const char* readableEnd,
                     char terminator, BlockRecord& block);

/// Reads the next block as readBlock does: a record of one whole block of plain decimals
/// by the reader's fast whole-record read, any other through the statement. False when the
/// reader failed, with `block` as it was.
bool readNextBlock(FreeFormReader& reader, BlockRecord& block);
