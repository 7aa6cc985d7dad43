// Processor exceptions (faults) reported as numbered diagnostics.
#pragma once

#include "runtime/diagnostics/message.h"

/// Installs the fault handlers on an alternate stack, so that a fault, a stack
/// overflow included, ends the run with its "Program Exception" message, the
/// listing, the records held handed over and the message number as exit status.
void installProcessorExceptionHandlers();

/// The message number for a fault signal and its code; `inStackGuard` tells a stack
/// overflow (a fault in the guard area below the main thread's stack) from other access
/// violations.
Message processorExceptionMessage(int signal, int code, bool inStackGuard);
