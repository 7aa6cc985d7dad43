// Processor exceptions (faults) reported as numbered diagnostics.
#pragma once

#include "runtime/diagnostics/message.h"
#include "runtime/platform/system_calls.h"

/// Ends the run for a processor exception, inside the system's handler: its "Program
/// Exception" message and the listing, the complete records handed over, and the
/// message number as exit status.
void onProcessorException(const ProcessorFault& fault);

/// The message for a kind of processor exception.
Message processorExceptionMessage(FaultKind kind);
