// The events from outside that end a run: console events and terminating signals.
#pragma once

#include "runtime/platform/system_calls.h"

/// Ends the run for a console event: message 200 naming it, every connection closed,
/// status 0 for control-C, 1 for control-BREAK, 2 for window-CLOSE. Returns only when
/// the run is already ending on another thread.
void onConsoleEvent(ConsoleEvent event);

/// Ends the run for a signal whose default action ends the process: the complete
/// records handed over, nothing printed, and the process ended by that signal. Returns
/// only when the run is already ending on another thread.
void onTerminatingSignal(int signal);
