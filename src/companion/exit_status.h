// The exit statuses of the companion programs, boxpaint-view and boxpaint-check.
#pragma once

/// Exit status for a command line that cannot be used.
constexpr int kUsageStatus = 2;

/// Exit status for every other failure: an input that cannot be read or used, an output
/// that cannot be written, an interrupted run.
constexpr int kFailureStatus = 1;
