// The command arguments of the run.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

/// Characters in each file-name buffer an argument is fetched into: a longer argument is
/// cut to this length, a shorter one padded with blanks.
constexpr int kNameLength = 200;

/// The name held in a blank-padded buffer: `length` characters without their trailing
/// blanks.
std::string_view nameInBuffer(const char* buffer, int length);

/// Splits a one-string command line into its elements: blanks and tabs separate
/// them outside quotes, a double quote switches quoting, and inside quotes two
/// double quotes give one and end the quoted part.
std::vector<std::string> splitCommandLine(std::string_view commandLine);

/// Takes the process's command line once, at start-up, and splits it; `argc` and `argv`
/// are the arguments as the system handed them to `main`.
void setCommandLine(int argc, const char* const* argv);

/// The number of arguments, the program name not counted.
int32_t argumentCount();

/// Copies argument `index` (0 is the program name) into `buffer` of `length`
/// characters: cut to the buffer's length, padded with blanks; an index out of
/// range gives a buffer of blanks.
void getArgument(int32_t index, char* buffer, int length);
