#include "check/program/remark_note.h"

#include <gtest/gtest.h>

namespace {

TEST(RemarkNoteTest, NamesTheValueARemarkIsReadAs) {
  struct Case {
    const char* line;
    std::string note;
  };
  const Case cases[] = {
      {"0. 10.  0. 5.  100. 90.  ! lens",
       "line 3 holds six values, so the remark after them is read as the seventh (the block's "
       "value)"},
      {"\t0. 10. # a dyke",
       "line 3 holds two values, so the remark after them is read as the "
       "third (n1)"},
      {"! block 4", "line 3 holds no value, so the remark on it is read as the first (e1)"},
      {"0. 10.  0. 5.  100. 90.  lens",
       "line 3 holds six values, so the remark after them is "
       "read as the seventh (the block's value)"},
      // A typo, a value the plain form does not take, or a number word: no remark to name.
      {"0. 10.  0. 5.  100. 9O  2  ! typo", ""},
      {"0. 10.  0. 5.  1e2 90.  ! lens", ""},
      {"0. 10.  0. 5.  100. NaN  ! lens", ""},
      {"0. 10.  0. 5.  100. 90., ! lens", ""},
      {"0. 10.  0. 5.  100. 90.  7  ! seven values", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(remarkNote(c.line, 3), c.note) << c.line;
}

}  // namespace
