// The console control handler that Windows calls on a thread of its own, reachable for
// tests that hand it events a test bench cannot produce, such as a closing console window.
#pragma once

/// Takes a console control event as the system numbers it (CTRL_C_EVENT,
/// CTRL_BREAK_EVENT, CTRL_CLOSE_EVENT, ...): the three console events go to the
/// handler that `watchProcessEvents` was given, which ends the process; log-off,
/// shut-down and the rest are declined (false). Windows only.
bool takeConsoleControl(unsigned long type);
