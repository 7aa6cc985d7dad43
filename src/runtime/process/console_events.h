// Console events: interrupt, break and hang-up end the run with a message.
#pragma once

/// Blocks the console-event signals that are not ignored (and the write-failure
/// signals, so that a failed write is reported instead of killing the process) and
/// starts the thread that waits for the console events.
void startConsoleEventThread();
