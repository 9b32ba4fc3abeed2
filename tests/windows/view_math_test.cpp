#include "view_math.h"

#include <gtest/gtest.h>

// View arithmetic the windows cannot reach: sizes of 0, results below 0, divisors <= 0, row-edge pixels.
TEST(ViewMath, RangesAndPagesAtTheirEdges) {
  EXPECT_EQ(KQVScrollMax(19, 240, 12), 0);   // never below 0
  EXPECT_EQ(KQVScrollMax(100, 0, 12), 100);  // minimised: every line is below the window
  EXPECT_EQ(KQHScrollMax(1128, 1129, 8), 0); // wider than the text: never below 0
  EXPECT_EQ(KQHScrollMax(1128, 0, 8), 141);
  EXPECT_EQ(KQVScrollMax(100, 240, 0), 0);
  EXPECT_EQ(KQHScrollMax(1128, 400, 0), 0);
  EXPECT_TRUE(KQVScrollMax(100, 10, 1) == 90 && KQHScrollMax(1128, 400, 1) == 728); // one-pixel cells count
  // Cells: capitals are one average character wide in a fixed-pitch font (pitch bit clear), one and a
  // half in a variable-pitch one; a line takes its width plus one capital.
  const KQCellMetrics fixed = KQCellMetricsFromText(8, 13, 2, 0, 140),
                      variable = KQCellMetricsFromText(8, 13, 2, 1, 80);
  EXPECT_TRUE(fixed.charWidth == 8 && fixed.capsWidth == 8 && fixed.lineHeight == 15 &&
              fixed.textWidth == 141 * 8);
  EXPECT_TRUE(variable.capsWidth == 12 && variable.textWidth == 81 * 12);
  // Pages: whole lines, an eighth of the whole columns, at least 1; a cell size of 0 or less gives 1.
  const struct {
    int client, cell, v, h;
  } pages[] = {{240, 12, 20, 2}, {239, 12, 19, 2}, {11, 12, 1, 1},   {0, 12, 1, 1},
               {400, 0, 1, 1},   {400, -3, 1, 1},  {400, 1, 400, 50}};
  for (const auto& p : pages) {
    EXPECT_EQ(KQVPageSize(p.client, p.cell), p.v) << p.client << " / " << p.cell;
    EXPECT_EQ(KQHPageSize(p.client, p.cell), p.h) << p.client << " / " << p.cell;
  }
}

TEST(ViewMath, RowsToPaintForAnUpdateBand) {
  // Band 30..50 of 12-pixel lines, view at line 100: from the row above the band's top row (line 101 at
  // y 12) to the row below its bottom row (line 104); one pixel either side of a row edge.
  const KQLineRange rows = KQRowsToPaint(100, 30, 50, 12, 1000);
  EXPECT_TRUE(rows.first == 101 && rows.end == 105) << rows.first << ".." << rows.end;
  EXPECT_EQ(KQRowsToPaint(100, 23, 50, 12, 1000).first, 100);
  EXPECT_EQ(KQRowsToPaint(100, 24, 50, 12, 1000).first, 101);
  EXPECT_EQ(KQRowsToPaint(100, 30, 47, 12, 1000).end, 104);
  EXPECT_EQ(KQRowsToPaint(100, 30, 48, 12, 1000).end, 105);
  const KQLineRange top = KQRowsToPaint(0, 0, 240, 12, 1000); // nothing above line 0
  EXPECT_TRUE(top.first == 0 && top.end == 21) << top.first << ".." << top.end;
  const KQLineRange past = KQRowsToPaint(10, 100, 200, 12, 10), noHeight = KQRowsToPaint(0, 0, 240, 0, 100);
  EXPECT_TRUE(past.first >= past.end && noHeight.first >= noHeight.end);
  // A page to copy: from the top line to the last one at least partly visible.
  EXPECT_EQ(KQRowsOnPage(5, 120, 12, 100).first, 5);
  EXPECT_TRUE(KQRowsOnPage(0, 120, 12, 100).first == 0 && KQRowsOnPage(-3, 120, 12, 100).first == 0);
  EXPECT_EQ(KQRowsOnPage(5, 120, 12, 100).end, 15); // 10 whole lines
  EXPECT_EQ(KQRowsOnPage(5, 121, 12, 100).end, 16); // one pixel of the 11th
  EXPECT_EQ(KQRowsOnPage(95, 120, 12, 100).end, 100);
  EXPECT_EQ(KQRowsOnPage(5, 3, 1, 100).end, 8); // lines of one pixel
  const KQLineRange none = KQRowsOnPage(0, 0, 12, 100), noLine = KQRowsOnPage(0, 120, 0, 100);
  EXPECT_TRUE(none.first >= none.end && noLine.first >= noLine.end);
}
