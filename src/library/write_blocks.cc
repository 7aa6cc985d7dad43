// A block file that boxpaint reads back to the same numbers.
#include <string>

#include "boxpaint/blocks.h"
#include "check/shortest_number.h"
#include "library/file_call_lock.h"
#include "library/library_failure.h"
#include "library/output_file.h"

namespace boxpaint {

Failure writeBlocks(const std::string& path, double background, std::span<const Block> blocks) {
  if (blocks.size() > static_cast<size_t>(INT32_MAX)) {
    return badArgument("a block file holds at most 2147483647 blocks");
  }
  const FileCallLock lock;
  return failingOnMemory([&] {
    OutputFile file;
    Failure failure = openOutputFile(path, file);
    if (failed(failure)) return failure;
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
      failure = writeLines(file, text, false);
      if (failed(failure)) return failure;
    }
    return writeLines(file, text, true);
  });
}

}  // namespace boxpaint
