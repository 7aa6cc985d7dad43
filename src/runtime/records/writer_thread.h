// The role of writing: handing submitted buffers to the system in order, on a thread of
// its own or on the producer's.
#pragma once

#include <mutex>

#include "runtime/records/output_channel.h"

/// The writer thread's body (`argument` is the OutputChannel): writes submitted buffers
/// in order until the channel is drained, a write is refused, or the end of the run
/// takes the role.
void writeSubmittedBuffers(void* argument);

/// Writes the submitted buffers on the calling thread, for a channel without a writer
/// thread. The channel's lock is held on entry and on return, and let go during writes.
void writeInline(OutputChannel& channel, std::unique_lock<std::mutex>& guard);
