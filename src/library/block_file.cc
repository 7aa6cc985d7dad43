// Block files read as boxpaint reads them, and written so that it reads them back to the
// same numbers.
#include <algorithm>
#include <new>
#include <string>
#include <utility>

#include "boxpaint/blocks.h"
#include "check/format/shortest_number.h"
#include "library/file_call_lock.h"
#include "library/library_failure.h"
#include "library/output_connection.h"
#include "model/blocks/order_block_bounds.h"
#include "model/blocks/read_each_block.h"

namespace {

// Keeps the head and each block of the file as read.
void keepHead(void* context, const char*, FreeFormReader&, double background, int32_t count) {
  boxpaint::BlockFile& file = *static_cast<boxpaint::BlockFile*>(context);
  file.background = background;
  file.count = count;
  // Room for the blocks the count promises, up to a few million: a count larger than the
  // blocks that follow costs nothing more. Refused, the blocks find room as they come.
  try {
    file.blocks.reserve(static_cast<size_t>(std::clamp(count, 0, 1 << 22)));
  } catch (const std::bad_alloc&) {
  }
}

bool keepBlock(void* context, int32_t, BlockRecord& block, int64_t, int64_t) {
  boxpaint::BlockFile& file = *static_cast<boxpaint::BlockFile*>(context);
  try {
    file.blocks.push_back(
        {block.e1, block.e2, block.n1, block.n2, block.z1, block.z2, block.value});
  } catch (const std::bad_alloc&) {
    return false;
  }
  // boxpaint orders each block's bounds where it read them, so that a field the next
  // block leaves out carries the ordered bound over.
  orderBlockBounds(block);
  return true;
}

}  // namespace

namespace boxpaint {

Failure readBlocks(const std::string& path, BlockFile& file) {
  if (Failure failure = nameFailure(path); failed(failure)) return failure;
  const FileCallLock lock;
  BlockFile read;
  BlockHandOff handOff;
  handOff.context = &read;
  handOff.head = keepHead;
  handOff.block = keepBlock;
  if (const ::Failure failure =
          readEachBlock(path.data(), static_cast<int>(path.size()), handOff)) {
    return runFailure(failure);
  }
  file = std::move(read);
  return {};
}

Failure writeBlocks(const std::string& path, double background, std::span<const Block> blocks) {
  if (blocks.size() > static_cast<size_t>(INT32_MAX)) {
    return badArgument("a block file holds at most 2147483647 blocks");
  }
  if (Failure failure = nameFailure(path); failed(failure)) return failure;
  const FileCallLock lock;
  return failingOnMemory([&] {
    return writeOutputFile(path, TerminatorKind::LF, [&](Connection& connection) {
      std::string text;
      appendNumber(text, background);
      text.push_back('\n');
      appendInteger(text, static_cast<int64_t>(blocks.size()));
      text.push_back('\n');
      for (const Block& block : blocks) {
        for (double value : {block.e1, block.e2, block.n1, block.n2, block.z1, block.z2}) {
          appendNumber(text, value);
          text.push_back(' ');
        }
        appendNumber(text, block.value);
        text.push_back('\n');
        if (const ::Failure failure = writeLines(connection, text, false)) return failure;
      }
      return writeLines(connection, text, true);
    });
  });
}

}  // namespace boxpaint
