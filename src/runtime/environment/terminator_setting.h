// The value of the record-terminator switch, taken apart: which record terminator
// each new connection gets, by its unit number.
#pragma once

#include <cstdint>
#include <string_view>

/// How records end: `Normal` is CR LF on output and LF (CRs before it dropped) on
/// input; the others are chosen by the record-terminator switch.
enum class TerminatorKind { Normal, CR, LF, CRLF };

/// Most unit entries the list of a terminator setting may hold.
constexpr int kMaxTerminatorEntries = 64;

/// Units `first` to `last`, both included; a single unit has `first` == `last`.
/// Numbers too large for any unit are held as `kBeyondAnyUnit`.
struct UnitRange {
  int64_t first = 0;
  int64_t last = 0;
};

/// Stands for every listed number above the largest unit number.
constexpr int64_t kBeyondAnyUnit = INT64_C(1) << 40;

/// Which terminator each new connection gets.
struct TerminatorSetting {
  TerminatorKind defaultKind = TerminatorKind::Normal;  // for units not listed
  TerminatorKind listedKind = TerminatorKind::CR;       // for units in `entries`
  int entryCount = 0;
  UnitRange entries[kMaxTerminatorEntries];
};

/// Takes the switch value `text` apart into `setting`. The empty text changes
/// nothing; "CR", "LF" and "CRLF" apply to every unit; anything else must be an
/// optional default part ("CR;", "LF;", "CRLF;"), an optional listed part ("CR:",
/// "LF:", "CRLF:") and 1 to 64 comma-separated units or ranges n-m with m >= n.
/// Returns false for any other text, and `setting` then changes nothing.
bool parseTerminatorSetting(std::string_view text, TerminatorSetting& setting);

/// The terminator that `setting` gives a new connection of `unit`.
TerminatorKind terminatorInSetting(const TerminatorSetting& setting, int32_t unit);
