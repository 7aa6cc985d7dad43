#include "model/blocks/read_each_block.h"

#include "model/blocks/block_statements.h"
#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"

namespace {

constexpr int32_t kBlockUnit = 1;

}  // namespace

bool readEachBlock(const char* name, int length, const BlockHandOff& handOff) {
  if (openConnection(kBlockUnit, name, length, OpenMode::Input) != 0) return false;
  {
    Connection& connection = *lookUpConnection(kBlockUnit);
    FreeFormReader reader(connection);
    double background = 0;
    int32_t count = 0;
    readBlockFileHead(reader, background, count);
    if (handOff.head != nullptr) {
      handOff.head(handOff.context, connection.fileName, reader, background, count);
    }
    // One record for all blocks: a field a block leaves unread keeps the previous block's
    // value, as the hand-off left it.
    BlockRecord block;
    for (int32_t b = 0; b < count;) {
      if (handOff.takeHeld != nullptr) {
        const int32_t taken = handOff.takeHeld(handOff.context, reader, b, count - b, block);
        if (taken > 0) {
          b += taken;
          continue;
        }
      }
      const int64_t before = connection.recordsRead.load(std::memory_order_relaxed);
      if (handOff.next != nullptr) handOff.next(handOff.context, b, before + 1);
      readNextBlock(reader, block);
      const int64_t after = connection.recordsRead.load(std::memory_order_relaxed);
      handOff.block(handOff.context, b, block, before + 1, after);
      ++b;
    }
  }
  closeConnection(kBlockUnit);
  return true;
}
