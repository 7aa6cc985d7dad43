// Reading the block file, handing over each block as it is read: the one reading that
// boxpaint's model, boxpaint-check's report and the library share.
#pragma once

#include <atomic>
#include <cstdint>

#include "freeform/free_form_reader.h"
#include "model/blocks/block_record.h"
#include "runtime/diagnostics/failure.h"

/// What is done with the block file as it is read: on the reading thread, in file order.
/// `block` is called for every block; any other member may be null.
struct BlockHandOff {
  void* context = nullptr;  // passed to every call

  /// When set, the reading stops before the next block and returns stopFailure().
  const std::atomic<bool>* stop = nullptr;

  /// The file `path` is open and its head read: the background and the count of blocks.
  void (*head)(void* context, const char* path, FreeFormReader& reader, double background,
               int32_t count) = nullptr;

  /// Block `index` (from 0) is about to be read, from record `record` (from 1) on.
  void (*next)(void* context, int32_t index, int64_t record) = nullptr;

  /// Block `index` was read from records `first` to `last` into `block`, which the call
  /// may change (ordering its bounds): a field the next block leaves unread keeps what it
  /// leaves there. False when memory for what it keeps is refused, which stops the reading.
  bool (*block)(void* context, int32_t index, BlockRecord& block, int64_t first,
                int64_t last) = nullptr;

  /// Before block `index` is read: may take up to `most` blocks from the records the
  /// reader holds in some faster way of its own, as though each were read in turn, passing
  /// the reader over their records and leaving `block` as the last of them leaves it.
  /// Returns how many it took, or -1 when memory is refused, which stops the reading;
  /// `block` is not called for them.
  int32_t (*takeHeld)(void* context, FreeFormReader& reader, int32_t index, int32_t most,
                      BlockRecord& block) = nullptr;
};

/// Reads the block file named by the blank-padded buffer `name` (unit 1) as boxpaint
/// reads it: the background, the count, and each block as one statement of seven values,
/// e1 e2 n1 n2 z1 z2 value (see readNextBlock), handing each over as it goes. Returns no
/// failure; the open's refusal, when nothing is read; or a read failure (24, 59, 64, 39,
/// 98), refused memory (41) or a failing close (28). The file is closed whatever the
/// outcome.
Failure readEachBlock(const char* name, int length, const BlockHandOff& handOff);
