#include "model/blocks/read_each_block.h"

#include "model/blocks/block_statements.h"
#include "runtime/connections/close_connection.h"
#include "runtime/connections/connection.h"
#include "runtime/connections/connection_table.h"
#include "runtime/connections/open_connection.h"

namespace {

constexpr int32_t kBlockUnit = 1;

// Reads the statements of the block file on the open `connection`, handing each block over.
Failure readStatements(Connection& connection, const BlockHandOff& handOff) {
  FreeFormReader reader(connection);
  double background = 0;
  int32_t count = 0;
  if (!readBlockFileHead(reader, background, count)) return reader.failure();
  if (handOff.head != nullptr) {
    handOff.head(handOff.context, connection.fileName, reader, background, count);
  }
  // One record for all blocks: a field a block leaves unread keeps the previous block's
  // value, as the hand-off left it.
  BlockRecord block;
  for (int32_t b = 0; b < count;) {
    if (handOff.stop != nullptr && handOff.stop->load(std::memory_order_relaxed)) {
      return stopFailure();
    }
    if (handOff.takeHeld != nullptr) {
      const int32_t taken = handOff.takeHeld(handOff.context, reader, b, count - b, block);
      if (taken < 0) return failureOf(Message::OutOfMemory);
      if (taken > 0) {
        b += taken;
        continue;
      }
    }
    const int64_t before = connection.recordsRead.load(std::memory_order_relaxed);
    if (handOff.next != nullptr) handOff.next(handOff.context, b, before + 1);
    if (!readNextBlock(reader, block)) return reader.failure();
    const int64_t after = connection.recordsRead.load(std::memory_order_relaxed);
    if (!handOff.block(handOff.context, b, block, before + 1, after)) {
      return failureOf(Message::OutOfMemory);
    }
    ++b;
  }
  return {};
}

}  // namespace

Failure readEachBlock(const char* name, int length, const BlockHandOff& handOff) {
  if (Failure opened = openInput(kBlockUnit, name, length)) return opened;
  const UnitScope scope{kBlockUnit};
  if (Failure failure = readStatements(*lookUpConnection(kBlockUnit), handOff)) {
    closeAfterFailure(kBlockUnit, failure);
    return failure;
  }
  return closeConnection(kBlockUnit);
}
