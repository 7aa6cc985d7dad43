// The hand-over that every end of the run makes of every output channel.
#pragma once

#include <cstdint>

#include "runtime/records/output_channel.h"

/// Takes the role of writing for the end of the run and hands over exactly the complete
/// records that have not reached the file. A write under way is waited for until
/// `deadlineNs` (monotonic clock); a pipe or device that takes nothing until then loses
/// what it could not take, whole records only. Refused when the system refused a write;
/// a file that keeps whole records is then cut back to its last whole record. Takes no
/// lock and allocates nothing, so that the same hand-over serves an ending thread and a
/// fault handler.
ChannelStatus handOverForEnd(OutputChannel& channel, int64_t deadlineNs);

/// Stops the output of a channel whose write was refused: nothing more is written, and a
/// partial record at the end of a file that keeps whole records is cut off.
/// Async-signal-safe.
void abandonChannel(OutputChannel& channel);

/// True while a write to the system is still under way on the channel's behalf: after a
/// hand-over that stopped waiting for it at its deadline, the channel's handle is still in
/// use. Async-signal-safe.
bool channelWriteUnderWay(const OutputChannel& channel);
