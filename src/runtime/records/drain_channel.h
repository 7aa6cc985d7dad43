// The normal close of an output channel: every complete record reaches the system.
#pragma once

#include "runtime/records/output_channel.h"

/// Hands every complete record to the system and waits until it is there, then stops
/// the writer thread. Refused leaves a file that keeps whole records ending at its last
/// whole record; Ending when the end of the run took the channel over meanwhile.
ChannelStatus drainChannel(OutputChannel& channel);
