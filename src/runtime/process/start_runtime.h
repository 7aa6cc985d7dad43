// Everything the run-time layer does before the driver runs.
#pragma once

/// Keeps descriptors 0 to 2 occupied, makes refused memory message 41, takes the
/// command line, reads the start-up switches, installs the fault handlers and starts
/// the console-event thread.
void startRuntime(int argc, const char* const* argv);
