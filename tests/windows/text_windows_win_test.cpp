// What both text windows do alike, on real windows under Wine: every test runs on a COutputWindow and on
// a CFastDisplayWnd, each a child of a host window.
#include "window_test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using kqtest::SetClientSize;

namespace {
template <class Kind> using TextWindow = kqtest::TextWindowTest<Kind>;
using Kinds = testing::Types<kqtest::OutputKind, kqtest::FastKind>;
} // namespace
TYPED_TEST_SUITE(TextWindow, Kinds);

TYPED_TEST(TextWindow, CellSizesFromTheStockFixedFontAndNoBarForARangeOf0) {
  auto& w = *this->window;
  const int cw = this->cw, lh = this->lh, width = TypeParam::width;
  LOGFONTA stock = {};
  ::GetObjectA(::GetStockObject(ANSI_FIXED_FONT), sizeof(stock), &stock);
  const TEXTMETRICA tm = kqtest::MetricsOf(stock);
  ASSERT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0); // the bit is clear for a fixed-pitch font
  EXPECT_STREQ(w.m_logFont.lfFaceName, stock.lfFaceName);
  EXPECT_EQ(w.m_textColor, ::GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(cw, tm.tmAveCharWidth);
  EXPECT_EQ(lh, tm.tmHeight + tm.tmExternalLeading);
  EXPECT_EQ(w.m_textWidth, (width + 1) * cw);
  // 31 lines with the current one. One column and one line short: ranges of 1; all of them: no bars.
  this->addLines(30);
  for (const int range : {1, 0}) {
    SetClientSize(this->hwnd, (width + 1 - range) * cw, (31 - range) * lh);
    EXPECT_EQ(w.m_hScrollMax, range);
    EXPECT_EQ(w.m_vScrollMax, range);
    const LONG style = ::GetWindowLongA(this->hwnd, GWL_STYLE);
    EXPECT_EQ((style & WS_HSCROLL) != 0, range > 0);
    EXPECT_EQ((style & WS_VSCROLL) != 0, range > 0);
  }
}

// At the end of a full store (the oldest lines dropped), so the rows are fetched by index from far in.
TYPED_TEST(TextWindow, PaintsOnlyTheRowsOfTheInvalidRectangle) {
  auto& w = *this->window;
  const HWND hwnd = this->hwnd;
  const int cw = this->cw, lh = this->lh;
  const long long total = TypeParam::cap + 5000, dropped = total - (TypeParam::cap - 2);
  this->addLines(total);
  ASSERT_EQ(w.m_lines.GetCount(), TypeParam::cap - 1);
  SetClientSize(hwnd, 60 * cw, 20 * lh);
  this->send(WM_VSCROLL, SB_BOTTOM);
  this->send(WM_HSCROLL, SB_THUMBPOSITION, 3);
  const int top = w.m_vScrollPos;
  ASSERT_EQ(top, TypeParam::cap - 1 - 20);
  ASSERT_EQ(w.m_hScrollPos, 3);
  kqtest::Settle(hwnd);

  kqtest::TextOutRecorder recorder;
  // From the middle of row 2 to the third pixel of row 4: rows 1 to 4, moved 3 columns left.
  const RECT band = {5, 2 * lh + lh / 2, 20, 4 * lh + 2};
  const auto drawn = recorder.repaint(hwnd, &band);
  ASSERT_EQ(drawn.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(drawn[i].text, "line " + std::to_string(dropped + top + 1 + i));
    EXPECT_EQ(drawn[i].x, -3 * cw);
    EXPECT_EQ(drawn[i].y, (1 + i) * lh);
  }
  // A whole repaint: from the line above the top (off the client area) to the empty current line.
  const auto all = recorder.repaint(hwnd);
  ASSERT_EQ(all.size(), 21u);
  EXPECT_EQ(all.front().text, "line " + std::to_string(dropped + top - 1));
  EXPECT_EQ(all.front().y, -lh);
  EXPECT_EQ(all[19].text, "line " + std::to_string(total - 1));
  EXPECT_EQ(all.back().text, "");
}

TYPED_TEST(TextWindow, EveryScrollRequestAtBothEnds) {
  auto& w = *this->window;
  const HWND hwnd = this->hwnd;
  const int lh = this->lh;
  this->addLines(100); // 101 lines with the current one
  // A few pixels more than 20 lines and 40 columns: ranges and pages count whole lines and columns.
  SetClientSize(hwnd, 40 * this->cw + 3, 20 * lh + 5);
  this->send(WM_VSCROLL, SB_TOP);
  kqtest::Settle(hwnd);
  const int vMax = w.m_vScrollMax, hMax = w.m_hScrollMax;
  ASSERT_EQ(vMax, 81);
  ASSERT_EQ(hMax, TypeParam::width - 40);
  int low = -1, high = -1;
  ::GetScrollRange(hwnd, SB_VERT, &low, &high);
  EXPECT_TRUE(low == 0 && high == vMax) << low << ".." << high;

  // At the top and left nothing moves or is painted; one line down paints the uncovered rows at once.
  kqtest::TextOutRecorder recorder;
  this->send(WM_VSCROLL, SB_LINEUP);
  this->send(WM_HSCROLL, SB_LINELEFT);
  kqtest::Settle(hwnd);
  EXPECT_TRUE(recorder.take().empty());
  this->send(WM_VSCROLL, SB_LINEDOWN);
  const auto drawn = recorder.take();
  ASSERT_EQ(drawn.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(drawn[i].text, "line " + std::to_string(19 + i));
    EXPECT_EQ(drawn[i].y, (18 + i) * lh);
  }

  // Each request in turn (thumb at `thumb`), and the position after it on the field and on the bar.
  auto walk = [&](UINT message, int bar, const int& field, UINT thumb, std::initializer_list<UINT> codes,
                  std::initializer_list<int> expected) {
    ASSERT_EQ(codes.size(), expected.size());
    for (size_t i = 0; i < codes.size(); ++i) {
      this->send(message, codes.begin()[i], thumb);
      EXPECT_EQ(field, expected.begin()[i]) << "request " << i;
      EXPECT_EQ(::GetScrollPos(hwnd, bar), expected.begin()[i]) << "request " << i;
    }
  };
  // Pages: 20 lines, and 40 / 8 = 5 columns. The thumb moves the view only when released.
  walk(WM_VSCROLL, SB_VERT, w.m_vScrollPos, 70,
       {SB_TOP, SB_LINEUP, SB_PAGEUP, SB_LINEDOWN, SB_PAGEDOWN, SB_LINEUP, SB_THUMBTRACK, SB_ENDSCROLL,
        SB_THUMBPOSITION, SB_PAGEDOWN, SB_LINEDOWN, SB_PAGEDOWN, SB_BOTTOM, SB_PAGEUP, SB_TOP, SB_BOTTOM},
       {0, 0, 0, 1, 21, 20, 20, 20, 70, vMax, vMax, vMax, vMax, vMax - 20, 0, vMax});
  walk(WM_VSCROLL, SB_VERT, w.m_vScrollPos, 200, {SB_TOP, SB_THUMBPOSITION}, {0, vMax});
  walk(WM_HSCROLL, SB_HORZ, w.m_hScrollPos, 30,
       {SB_LINELEFT, SB_PAGELEFT, SB_LEFT, SB_LINERIGHT, SB_PAGERIGHT, SB_THUMBTRACK, SB_THUMBPOSITION,
        SB_RIGHT, SB_LINERIGHT, SB_PAGERIGHT, SB_PAGELEFT, SB_LEFT},
       {0, 0, 0, 1, 6, 6, 30, hMax, hMax, hMax, hMax - 5, 0});
  // Less than a line high and fewer than eight columns wide: pages of 1.
  SetClientSize(hwnd, 20, lh - 1);
  ASSERT_EQ(w.m_clientWidth, 20);
  walk(WM_VSCROLL, SB_VERT, w.m_vScrollPos, 0, {SB_TOP, SB_PAGEDOWN}, {0, 1});
  walk(WM_HSCROLL, SB_HORZ, w.m_hScrollPos, 0, {SB_LEFT, SB_PAGERIGHT}, {0, 1});
}

TYPED_TEST(TextWindow, ClearingGoesBackToTheFirstLineAndKeepsTheColumn) {
  auto& w = *this->window;
  const HWND hwnd = this->hwnd;
  this->scrolledView(100, 30, 4);
  kqtest::Settle(hwnd);
  w.OnClearBuffer();
  EXPECT_EQ(w.m_lines.GetCount(), 1);
  EXPECT_TRUE(w.m_lines.GetHead().IsEmpty());
  EXPECT_EQ(w.m_vScrollPos, 0);
  EXPECT_EQ(w.m_hScrollPos, 4);
  RECT update = {};
  EXPECT_TRUE(::GetUpdateRect(hwnd, &update, FALSE));
  EXPECT_EQ(update.bottom - update.top, 10 * this->lh); // the whole client area
  // Text of no bytes stores nothing but still updates the view.
  w.Display("abc", 3);
  kqtest::Settle(hwnd);
  w.Display("xyz", 0);
  w.Display("xyz", -5);
  EXPECT_TRUE(::GetUpdateRect(hwnd, &update, FALSE));
  EXPECT_EQ(w.m_lines.GetCount(), 1);
  EXPECT_TRUE(w.m_lines.GetHead() == "abc");
}

TYPED_TEST(TextWindow, BeforeItsWindowExistsTextIsStoredAndShownOnceCreated) {
  auto* late = new typename TypeParam::Window;
  late->Display("one\ntwo\n", 8);
  late->OnClearBuffer();
  late->Display("three\nfour\nfive\nsix", 19);
  EXPECT_EQ(late->m_lines.GetCount(), 4);
  EXPECT_EQ(late->m_vScrollMax, 0);
  ASSERT_TRUE(TypeParam::create(*late, this->parent));
  const HWND hwnd = late->GetSafeHwnd();
  kqtest::TextOutRecorder recorder;
  const auto drawn = recorder.repaint(hwnd);
  ASSERT_GE(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].text, "three");
  EXPECT_EQ(drawn[1].text, "four");
  ::DestroyWindow(hwnd);
  TypeParam::release(late);
}

TYPED_TEST(TextWindow, FontDialogCancelledChangesNothingConfirmedDrawsInTheNewFontFromTheTopLeft) {
  auto& w = *this->window;
  const HWND hwnd = this->hwnd;
  this->scrolledView(50, 20, 5);
  const LOGFONTA font = w.m_logFont;
  const COLORREF colour = w.m_textColor;
  ASSERT_TRUE(kqtest::ChooseFont(w, "Tahoma", "Blue", IDCANCEL));
  EXPECT_EQ(std::memcmp(&w.m_logFont, &font, sizeof(font)), 0);
  EXPECT_EQ(w.m_textColor, colour);
  EXPECT_EQ(w.m_vScrollPos, 20);
  EXPECT_EQ(w.m_hScrollPos, 5);

  ASSERT_TRUE(kqtest::ChooseFont(w, "Tahoma", "Red", IDOK));
  EXPECT_STREQ(w.m_logFont.lfFaceName, "Tahoma");
  EXPECT_EQ(w.m_textColor, RGB(255, 0, 0));
  EXPECT_EQ(::GetScrollPos(hwnd, SB_VERT), 0);
  EXPECT_EQ(::GetScrollPos(hwnd, SB_HORZ), 0);
  // A variable-pitch face: capitals count one and a half average characters. Ranges from the new cells.
  const TEXTMETRICA tm = kqtest::MetricsOf(w.m_logFont);
  ASSERT_NE(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
  EXPECT_EQ(w.m_charWidth, tm.tmAveCharWidth);
  EXPECT_EQ(w.m_capsWidth, 3 * tm.tmAveCharWidth / 2);
  EXPECT_EQ(w.m_lineHeight, tm.tmHeight + tm.tmExternalLeading);
  EXPECT_EQ(w.m_textWidth, (TypeParam::width + 1) * w.m_capsWidth);
  EXPECT_EQ(w.m_vScrollMax, 51 - w.m_clientHeight / w.m_lineHeight);
  kqtest::TextOutRecorder recorder;
  const auto drawn = recorder.repaint(hwnd);
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn[0].text, "line 0");
  EXPECT_TRUE(drawn[0].x == 0 && drawn[0].y == 0) << drawn[0].x << ", " << drawn[0].y;
  for (const auto& d : drawn)
    EXPECT_TRUE(d.face == "Tahoma" && d.textColor == RGB(255, 0, 0)) << d.face << " " << d.textColor;
}
