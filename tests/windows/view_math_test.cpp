#include "view_math.h"

#include <gtest/gtest.h>

namespace {
constexpr unsigned int fixedPitch = 0x30; // bit 0 clear: FF_MODERN | FIXED_PITCH-style family bits
constexpr unsigned int variablePitch = 0x21;
} // namespace

TEST(ViewMath, CellSizesFromTextMetrics) {
  const KQCellMetrics fixed = KQCellMetricsFromText(8, 12, 0, fixedPitch, 140);
  EXPECT_EQ(fixed.charWidth, 8);
  EXPECT_EQ(fixed.capsWidth, 8);
  EXPECT_EQ(fixed.lineHeight, 12);
  EXPECT_EQ(fixed.textWidth, 1128);
  const KQCellMetrics variable = KQCellMetricsFromText(7, 16, 2, variablePitch, 140);
  EXPECT_EQ(variable.charWidth, 7);
  EXPECT_EQ(variable.capsWidth, 10); // 3 * 7 / 2, truncated
  EXPECT_EQ(variable.lineHeight, 18);
  EXPECT_EQ(variable.textWidth, 1410);
  EXPECT_EQ(KQCellMetricsFromText(8, 12, 0, fixedPitch, 80).textWidth, 648);
  EXPECT_EQ(KQCellMetricsFromText(9, 12, 0, variablePitch, 80).textWidth, 81 * 13);
}

TEST(ViewMath, VerticalRangeAtItsEdges) {
  // 240 pixels of 12-pixel lines hold 20 lines.
  EXPECT_EQ(KQVScrollMax(100, 240, 12), 80);
  EXPECT_EQ(KQVScrollMax(21, 240, 12), 1);
  EXPECT_EQ(KQVScrollMax(20, 240, 12), 0);
  EXPECT_EQ(KQVScrollMax(19, 240, 12), 0);   // never below 0
  EXPECT_EQ(KQVScrollMax(100, 239, 12), 81); // 19 whole lines fit
  EXPECT_EQ(KQVScrollMax(100, 251, 12), 80);
  EXPECT_EQ(KQVScrollMax(100, 252, 12), 79);
  EXPECT_EQ(KQVScrollMax(100, 0, 12), 100); // minimised: every line is below the window
  EXPECT_EQ(KQVScrollMax(64999, 0, 12), 64999);
}

TEST(ViewMath, HorizontalRangeAtItsEdges) {
  EXPECT_EQ(KQHScrollMax(1128, 400, 8), 91);
  EXPECT_EQ(KQHScrollMax(1128, 1120, 8), 1);
  EXPECT_EQ(KQHScrollMax(1128, 1121, 8), 0); // 7 pixels: less than a column
  EXPECT_EQ(KQHScrollMax(1128, 1128, 8), 0);
  EXPECT_EQ(KQHScrollMax(1128, 1129, 8), 0); // wider than the text: never below 0
  EXPECT_EQ(KQHScrollMax(1128, 2000, 8), 0);
  EXPECT_EQ(KQHScrollMax(1128, 0, 8), 141);
  EXPECT_EQ(KQHScrollMax(1410, 0, 7), 201);
}

TEST(ViewMath, PagesAreAtLeastOne) {
  EXPECT_EQ(KQVPageSize(240, 12), 20);
  EXPECT_EQ(KQVPageSize(251, 12), 20);
  EXPECT_EQ(KQVPageSize(252, 12), 21);
  EXPECT_EQ(KQVPageSize(24, 12), 2);
  EXPECT_EQ(KQVPageSize(23, 12), 1);
  EXPECT_EQ(KQVPageSize(11, 12), 1); // less than a line fits
  EXPECT_EQ(KQVPageSize(0, 12), 1);
  EXPECT_EQ(KQHPageSize(400, 8), 6); // 50 columns / 8
  EXPECT_EQ(KQHPageSize(128, 8), 2);
  EXPECT_EQ(KQHPageSize(127, 8), 1);
  EXPECT_EQ(KQHPageSize(63, 8), 1); // 7 columns: an eighth is 0, so 1
  EXPECT_EQ(KQHPageSize(20, 8), 1);
  EXPECT_EQ(KQHPageSize(0, 8), 1);
}

TEST(ViewMath, RowsToPaintForAnUpdateBand) {
  // Band 30..50, 12-pixel lines, view at line 100: lines 101 to 104 at y 12, 24, 36, 48.
  KQPaintRows rows = KQRowsToPaint(100, 30, 50, 12, 1000);
  EXPECT_EQ(rows.first, 101);
  EXPECT_EQ(rows.end, 105);
  EXPECT_EQ(rows.firstY, 12);
  // The row above the band's top row is drawn too; one pixel either side of a row edge.
  EXPECT_EQ(KQRowsToPaint(100, 24, 50, 12, 1000).first, 101);
  EXPECT_EQ(KQRowsToPaint(100, 23, 50, 12, 1000).first, 100);
  EXPECT_EQ(KQRowsToPaint(100, 30, 47, 12, 1000).end, 104);
  EXPECT_EQ(KQRowsToPaint(100, 30, 48, 12, 1000).end, 105);
  // A full repaint from line 5 starts with line 4 above the client area.
  rows = KQRowsToPaint(5, 0, 240, 12, 1000);
  EXPECT_EQ(rows.first, 4);
  EXPECT_EQ(rows.firstY, -12);
  EXPECT_EQ(rows.end, 26);
  // At the top nothing is drawn above line 0.
  rows = KQRowsToPaint(0, 0, 240, 12, 1000);
  EXPECT_EQ(rows.first, 0);
  EXPECT_EQ(rows.firstY, 0);
  EXPECT_EQ(rows.end, 21);
  // The stored lines limit the end: 3 lines, 2 lines, none past the last.
  EXPECT_EQ(KQRowsToPaint(0, 0, 240, 12, 3).end, 3);
  EXPECT_EQ(KQRowsToPaint(0, 0, 240, 12, 2).end, 2);
  rows = KQRowsToPaint(10, 100, 200, 12, 10);
  EXPECT_GE(rows.first, rows.end);
}

TEST(ViewMath, NonPositiveDivisorsGiveEmptyResults) {
  EXPECT_EQ(KQVScrollMax(100, 240, 0), 0);
  EXPECT_EQ(KQHScrollMax(1128, 400, 0), 0);
  EXPECT_EQ(KQVPageSize(240, 0), 1);
  EXPECT_EQ(KQHPageSize(400, -3), 1);
  const KQPaintRows rows = KQRowsToPaint(0, 0, 240, 0, 100);
  EXPECT_GE(rows.first, rows.end);
}
