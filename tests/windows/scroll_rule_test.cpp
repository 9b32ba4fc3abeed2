#include "scroll_rule.h"

#include <gtest/gtest.h>

#include <climits>

TEST(ScrollRule, RequestsAtAndOutsideTheEndsOfTheRange) {
  const struct {
    unsigned int code, thumb;
    int current, max, line, page, expected;
  } cases[] = {
      // The windows under Wine walk every request inside the range; here is what they cannot ask.
      {KQ_SB_THUMBPOSITION, 0xFFFFFFFFu, 5, 10, 1, 8, -5}, // -1, clamped
      // Dragging, the end of a drag and unknown codes never move, even from outside the range.
      {KQ_SB_THUMBTRACK, 4, 12, 10, 1, 8, 0},
      {KQ_SB_ENDSCROLL, 4, 12, 10, 1, 8, 0},
      {9, 4, 12, 10, 1, 8, 0},
      {0xFFFFFFFFu, 7, 5, 10, 1, 8, 0},
      // Above the maximum (12 of 0..10): every request that moves comes back into the range.
      {KQ_SB_LINEUP, 0, 12, 10, 1, 8, -2},
      {KQ_SB_PAGEUP, 0, 12, 10, 1, 8, -8},
      {KQ_SB_TOP, 0, 12, 10, 1, 8, -12},
      {KQ_SB_THUMBPOSITION, 11, 12, 10, 1, 8, -2},
      // A maximum below 0: the lower bound wins, the position goes to 0 and never below.
      {KQ_SB_LINEDOWN, 0, 0, -3, 1, 8, 0},
      {KQ_SB_PAGEUP, 0, 2, -3, 1, 8, -2},
      // The caller's steps.
      {KQ_SB_LINEDOWN, 0, 0, 100, 3, 20, 3},
      {KQ_SB_PAGEUP, 0, 50, 100, 3, 20, -20},
      // Extremes wrap as 32-bit arithmetic instead of being undefined (the sanitizers check).
      {KQ_SB_PAGEDOWN, 0, 0, INT_MAX, 1, INT_MAX, INT_MAX},
      {KQ_SB_THUMBPOSITION, 0, INT_MAX, INT_MAX, 1, 1, -INT_MAX},
      {KQ_SB_THUMBPOSITION, 0x80000000u, 1, 10, 1, 1, 9}, // INT_MIN - 1 wraps to INT_MAX, then clamped
      {KQ_SB_LINEUP, 0, 0, 10, INT_MIN, 1, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(KQComputeScrollPosDelta(c.code, c.thumb, c.current, c.max, c.line, c.page), c.expected)
        << "code " << c.code << " thumb " << c.thumb << " at " << c.current << " of 0.." << c.max;
  for (unsigned int code = 0; code <= 9; ++code) // an empty range: nothing moves
    EXPECT_EQ(KQComputeScrollPosDelta(code, 3, 0, 0, 1, 8), 0) << "code " << code;
}
