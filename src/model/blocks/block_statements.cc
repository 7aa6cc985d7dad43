#include "model/blocks/block_statements.h"

#include "freeform/plain_decimal_run.h"

bool readBlockFileHead(FreeFormReader& reader, double& background, int32_t& blockCount) {
  reader.beginStatement();
  reader.readReal(background);
  if (!reader.endStatement()) return false;
  reader.beginStatement();
  reader.readInteger(blockCount);
  return reader.endStatement();
}

bool readBlock(FreeFormReader& reader, BlockRecord& block) {
  // Seven items, read as one run: each element is an item of its own, and one that a null
  // or a slash leaves unread keeps the value it had.
  double values[] = {block.e1, block.e2, block.n1, block.n2, block.z1, block.z2, block.value};
  reader.beginStatement();
  reader.readRealRun(values, 7);
  if (!reader.endStatement()) return false;
  block = {values[0], values[1], values[2], values[3], values[4], values[5], values[6]};
  return true;
}

size_t readBlockLine(const char* line, const char* textEnd, const char* readableEnd,
                     char terminator, BlockRecord& block) {
  double values[7];
  const size_t length = readPlainDecimalLine(line, textEnd, readableEnd, terminator, values, 7);
  if (length > 0) {
    block = {values[0], values[1], values[2], values[3], values[4], values[5], values[6]};
  }
  return length;
}

bool readNextBlock(FreeFormReader& reader, BlockRecord& block) {
  double values[7];
  if (!reader.readPlainRecord(values, 7)) return readBlock(reader, block);
  block = {values[0], values[1], values[2], values[3], values[4], values[5], values[6]};
  return true;
}
