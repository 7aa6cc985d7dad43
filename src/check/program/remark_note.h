// Why a line of a block file is refused when it holds a remark: the remark is read as a
// value, because the line holds fewer values than a block takes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

/// Values a block's read statement takes: e1 e2 n1 n2 z1 z2 value.
constexpr int32_t kBlockValues = 7;

/// For a block whose values begin on line `number`, with text `line`, refused there: when
/// the line holds fewer than seven plain decimals, each after blanks, and then a remark
/// (a token that is no number and does not begin as one: "! lens", "# 3", a word), says
/// so: "line 3 holds six values, so the remark after them is read as the seventh (the
/// block's value)". Empty for any other line, whose refused value may be a typo.
std::string remarkNote(std::string_view line, int64_t number);
