// The driver: chooses what the run does from its arguments.
#pragma once

/// Prints the usage text or the sample block file, or builds the model; never returns.
[[noreturn]] void runDriver();
