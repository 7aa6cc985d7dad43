// The normal close of an output channel: every complete record reaches the system.
#pragma once

#include "runtime/records/output_channel.h"

/// Hands every complete record to the system and waits until it is there, then stops
/// the writer thread. Refused when the system refused a write: the channel is then to be
/// abandoned (abandonChannel), which cuts a partial record off; Ending when the end of the
/// run took the channel over meanwhile.
ChannelStatus drainChannel(OutputChannel& channel);
