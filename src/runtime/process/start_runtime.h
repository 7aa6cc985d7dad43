// Everything the run-time layer does before the driver runs.
#pragma once

/// Keeps the standard streams occupied, makes refused memory message 41, takes the
/// command line, reads the start-up switches, and sends console events, terminating
/// signals and (unless FOR_IGNORE_EXCEPTIONS is true) processor exceptions to their
/// handlers.
void startRuntime(int argc, const char* const* argv);
