// The output channel of a write connection: its start, what each failure of the channel
// means for the connection, and the drain at close.
#pragma once

#include "runtime/records/output_channel.h"

struct Connection;

/// Makes `connection` a write connection whose records reach the system through its
/// handle, each ended by the connection's terminator. Disk files and pipes gather
/// records; consoles and devices write each at once. A disk file's old content goes when
/// the first records are handed over, unless it is a device.
void startOutput(Connection& connection, bool device);

/// Ends the run as a step of the connection's channel requires: message 38 when a write
/// was refused, 41 when memory was refused, and a wait for the end when the run is ending
/// on another thread. Nothing when `status` is Ok.
void settleOutput(Connection& connection, ChannelStatus status);

/// Hands every complete record of a write connection to the system and waits until it
/// is there. A refused write ends the run with message 38; never returns when the run is
/// ending on another thread.
void drainConnection(Connection& connection);
