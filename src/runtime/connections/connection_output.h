// The output channel of a write connection: its start, what each failure of the channel
// means for the connection, and the drain at close.
#pragma once

#include "runtime/diagnostics/failure.h"
#include "runtime/environment/terminator_setting.h"
#include "runtime/records/output_channel.h"

struct Connection;

/// Makes `connection` a write connection whose records reach the system through its
/// handle, each ended by the connection's terminator. Disk files and pipes gather
/// records; consoles and devices write each at once. A disk file's old content goes when
/// the first records are handed over, unless it is a device.
void startOutput(Connection& connection, bool device);

/// Ends the records of the write connection `connection`, which has taken none yet, with
/// `kind`'s terminator rather than the one the record-terminator switch gave its unit: for
/// a caller that names its own.
void endRecordsWith(Connection& connection, TerminatorKind kind);

/// What a step of the connection's channel means for it: no failure for Ok, message 38 on
/// the connection when a write was refused, 41 when memory was refused, and the stop when
/// the run is ending on another thread.
Failure outputFailure(const Connection& connection, ChannelStatus status);

/// Hands every complete record of a write connection to the system and waits until it
/// is there. Returns no failure, 38 for a refused write, or the stop when the run is
/// ending on another thread.
Failure drainConnection(Connection& connection);
