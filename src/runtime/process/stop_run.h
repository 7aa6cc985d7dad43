// The plain stop that ends every ordinary path of the run.
#pragma once

/// Closes every connection and ends the process with status 0, printing nothing.
[[noreturn]] void stopRun();
