#include "model/block_statements.h"

void readBlockFileHead(FreeFormReader& reader, double& background, int32_t& blockCount) {
  reader.beginStatement();
  reader.readReal(background);
  reader.endStatement();
  reader.beginStatement();
  reader.readInteger(blockCount);
  reader.endStatement();
}

void readBlock(FreeFormReader& reader, BlockRecord& block) {
  reader.beginStatement();
  reader.readReal(block.e1);
  reader.readReal(block.e2);
  reader.readReal(block.n1);
  reader.readReal(block.n2);
  reader.readReal(block.z1);
  reader.readReal(block.z2);
  reader.readReal(block.value);
  reader.endStatement();
}
