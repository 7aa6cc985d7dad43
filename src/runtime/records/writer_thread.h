// The thread in the writer's role: hands submitted buffers to the system in order.
#pragma once

#include <cstdint>
#include <mutex>

#include "runtime/records/output_channel.h"

/// The writer thread's body (`argument` is the OutputChannel): writes submitted buffers
/// in order until the channel closes, a write is refused, or the end of the run takes
/// its place.
void writeSubmittedBuffers(void* argument);

/// Writes the submitted buffers on the calling thread, in the writer's role, when no
/// writer thread could be started. The channel's lock is held on entry and on return.
void writeInline(OutputChannel& channel, std::unique_lock<std::mutex>& guard);

/// Stops the writer for the end of the run and waits, until `deadlineNs`, for it to leave
/// a write under way; true when it did. Async-signal-safe when `inSignalHandler`.
bool stopWriter(OutputChannel& channel, int64_t deadlineNs, bool inSignalHandler);
