#include "scroll_rule.h"

#include <gtest/gtest.h>

#include <climits>

namespace {
struct Case {
  unsigned int code;
  unsigned int thumb;
  int current;
  int max;
  int expected;
};

void expectAll(std::initializer_list<Case> cases, int lineStep, int pageStep) {
  for (const Case& c : cases)
    EXPECT_EQ(KQComputeScrollPosDelta(c.code, c.thumb, c.current, c.max, lineStep, pageStep), c.expected)
        << "code " << c.code << " thumb " << c.thumb << " at " << c.current << " of 0.." << c.max;
}
} // namespace

TEST(ScrollRule, InsideTheRange) {
  expectAll({{KQ_SB_LINEUP, 0, 5, 10, -1},
             {KQ_SB_LINEDOWN, 0, 5, 10, 1},
             {KQ_SB_PAGEUP, 0, 5, 10, -5},  // clamped at the top
             {KQ_SB_PAGEDOWN, 0, 5, 10, 5}, // clamped at the bottom
             {KQ_SB_PAGEUP, 0, 9, 10, -8},
             {KQ_SB_PAGEDOWN, 0, 1, 10, 8},
             {KQ_SB_TOP, 0, 5, 10, -5},
             {KQ_SB_BOTTOM, 0, 5, 10, 5},
             {KQ_SB_THUMBPOSITION, 7, 5, 10, 2},
             {KQ_SB_THUMBPOSITION, 0, 5, 10, -5},
             {KQ_SB_THUMBPOSITION, 15, 5, 10, 5},
             {KQ_SB_THUMBPOSITION, 0xFFFFFFFFu, 5, 10, -5}, // -1 bit for bit, clamped
             {KQ_SB_THUMBTRACK, 7, 5, 10, 0},
             {KQ_SB_THUMBTRACK, 0, 5, 10, 0},
             {KQ_SB_ENDSCROLL, 7, 5, 10, 0},
             {9, 7, 5, 10, 0},
             {0xFFFFFFFFu, 7, 5, 10, 0},
             {0x80000000u, 7, 5, 10, 0}},
            1, 8);
}

TEST(ScrollRule, AtBothEndsNothingMovesTowardsThatEnd) {
  // Position 0 of 0..10: up, page up and top stay; down still moves.
  expectAll({{KQ_SB_LINEUP, 0, 0, 10, 0},
             {KQ_SB_PAGEUP, 0, 0, 10, 0},
             {KQ_SB_TOP, 0, 0, 10, 0},
             {KQ_SB_LINEDOWN, 0, 0, 10, 1},
             {KQ_SB_BOTTOM, 0, 0, 10, 10}},
            1, 8);
  // Position 10 of 0..10, and one step inside it.
  expectAll({{KQ_SB_LINEDOWN, 0, 10, 10, 0},
             {KQ_SB_PAGEDOWN, 0, 10, 10, 0},
             {KQ_SB_BOTTOM, 0, 10, 10, 0},
             {KQ_SB_LINEUP, 0, 10, 10, -1},
             {KQ_SB_LINEDOWN, 0, 9, 10, 1},
             {KQ_SB_PAGEDOWN, 0, 9, 10, 1}},
            1, 8);
  // An empty range: every request gives 0.
  for (unsigned int code = 0; code <= 9; ++code)
    EXPECT_EQ(KQComputeScrollPosDelta(code, 3, 0, 0, 1, 8), 0) << "code " << code;
}

TEST(ScrollRule, OutsideTheRangeComesBack) {
  // Above the maximum (12 of 0..10): every downward or small request returns to the maximum.
  expectAll({{KQ_SB_LINEDOWN, 0, 12, 10, -2},
             {KQ_SB_LINEUP, 0, 12, 10, -2},
             {KQ_SB_PAGEDOWN, 0, 12, 10, -2},
             {KQ_SB_PAGEUP, 0, 12, 10, -8},
             {KQ_SB_BOTTOM, 0, 12, 10, -2},
             {KQ_SB_TOP, 0, 12, 10, -12},
             {KQ_SB_THUMBPOSITION, 11, 12, 10, -2},
             // Requests that never move stay 0 even outside the range.
             {KQ_SB_THUMBTRACK, 4, 12, 10, 0},
             {KQ_SB_ENDSCROLL, 4, 12, 10, 0},
             {9, 4, 12, 10, 0}},
            1, 8);
  // A maximum below 0: the lower bound wins, so the position goes to 0, never below.
  expectAll({{KQ_SB_BOTTOM, 0, 0, -3, 0},
             {KQ_SB_LINEDOWN, 0, 0, -3, 0},
             {KQ_SB_LINEUP, 0, 0, -3, 0},
             {KQ_SB_THUMBPOSITION, 2, 0, -3, 0},
             {KQ_SB_BOTTOM, 0, 2, -3, -2},
             {KQ_SB_PAGEUP, 0, 2, -3, -2},
             {KQ_SB_THUMBTRACK, 0, 2, -3, 0}},
            1, 8);
}

TEST(ScrollRule, StepsAreTheCallersAndExtremesWrap) {
  expectAll(
      {{KQ_SB_LINEDOWN, 0, 0, 100, 3}, {KQ_SB_PAGEDOWN, 0, 0, 100, 20}, {KQ_SB_PAGEUP, 0, 50, 100, -20}}, 3,
      20);
  // Extreme values wrap as 32-bit arithmetic instead of being undefined (the sanitizer build checks).
  EXPECT_EQ(KQComputeScrollPosDelta(KQ_SB_PAGEDOWN, 0, 0, INT_MAX, 1, INT_MAX), INT_MAX);
  EXPECT_EQ(KQComputeScrollPosDelta(KQ_SB_THUMBPOSITION, 0, INT_MAX, INT_MAX, 1, 1), -INT_MAX);
  // INT_MIN - 1 wraps to INT_MAX, which the upper clamp then limits.
  EXPECT_EQ(KQComputeScrollPosDelta(KQ_SB_THUMBPOSITION, 0x80000000u, 1, 10, 1, 1), 9);
  EXPECT_EQ(KQComputeScrollPosDelta(KQ_SB_LINEUP, 0, 0, 10, INT_MIN, 1), 0);
}
