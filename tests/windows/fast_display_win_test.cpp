// CFastDisplayWnd on a real window under Wine: creation, ranges and pages, painting, scrolling, the
// pending-input queue with its move to the last page, clearing and the font dialog.
#include "dialog_watcher.h"
#include "font_dialog_driver.h"
#include "kqwindows.h"
#include "window_test_util.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using kqtest::ScrollInfo;
using kqtest::Settle;

namespace {
constexpr DWORD barsStyle = WS_VISIBLE | WS_HSCROLL | WS_VSCROLL;

// A fast display window as a host places it: a child of the host's window, with both scroll bars.
class FastDisplayTest : public testing::Test {
protected:
  void SetUp() override {
    parent = ::CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 700, nullptr,
                               nullptr, nullptr, nullptr);
    ASSERT_NE(parent, nullptr);
    ASSERT_TRUE(window.CreateEx(0, nullptr, "fast", WS_CHILD | barsStyle, 0, 0, 400, 300, parent, nullptr));
    hwnd = window.GetSafeHwnd();
    cw = window.m_charWidth;
    lh = window.m_lineHeight;
  }
  void TearDown() override {
    window.DestroyWindow();
    ::DestroyWindow(parent);
    kqtest::PumpPending();
  }
  // Lines "line 0" .. "line <count-1>", then the empty current line.
  void addLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
      text += "line " + std::to_string(i) + "\n";
    window.Display(text.data(), static_cast<int>(text.size()));
  }
  void send(UINT message, UINT code, UINT pos = 0) {
    ::SendMessageA(hwnd, message, MAKEWPARAM(code, pos), 0);
  }
  std::string pending() { return std::string(window.m_input.GetString(), window.m_input.GetLength()); }

  HWND parent = nullptr;
  CFastDisplayWnd window;
  HWND hwnd = nullptr;
  int cw = 0, lh = 0;
};
} // namespace

TEST_F(FastDisplayTest, StartsWithTheStockFixedFontAndOneEmptyLine) {
  const kqtest::StockFont stock;
  EXPECT_STREQ(window.m_logFont.lfFaceName, stock.font.lfFaceName);
  EXPECT_EQ(window.m_textColor, ::GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(cw, stock.metrics.tmAveCharWidth);
  EXPECT_EQ(window.m_capsWidth, cw);
  EXPECT_EQ(lh, stock.metrics.tmHeight + stock.metrics.tmExternalLeading);
  EXPECT_EQ(window.m_textWidth, 81 * cw);
  EXPECT_EQ(window.m_maxLines, 65000);
  EXPECT_EQ(window.m_lineWidth, 80);
  EXPECT_EQ(window.m_lines.GetCount(), 1);
  EXPECT_TRUE(window.m_input.IsEmpty());
  // No horizontal range exactly when the client area is wider than 80 character widths.
  kqtest::SetClientSize(hwnd, 80 * cw + 1, 10 * lh);
  EXPECT_EQ(window.m_hScrollMax, 0);
  kqtest::SetClientSize(hwnd, 80 * cw, 10 * lh);
  EXPECT_EQ(window.m_hScrollMax, 1);
  EXPECT_EQ(ScrollInfo(hwnd, SB_HORZ).nMax, 1);
}

TEST_F(FastDisplayTest, KeepsTheLast64998LinesOf70000AndPaintsThemByIndex) {
  addLines(70000);
  ASSERT_EQ(window.m_lines.GetCount(), 64999);
  EXPECT_TRUE(window.m_lines.GetHead() == "line 5002");
  kqtest::SetClientSize(hwnd, 60 * cw, 20 * lh);
  EXPECT_EQ(window.m_vScrollMax, 64999 - 20);
  EXPECT_EQ(window.m_vScrollPos, 0); // new text never moves the view
  send(WM_VSCROLL, SB_BOTTOM);
  send(WM_HSCROLL, SB_THUMBPOSITION, 2);
  ASSERT_EQ(window.m_vScrollPos, 64979);
  Settle(hwnd);
  kqtest::TextOutRecorder recorder;
  ASSERT_TRUE(recorder.installed());
  // From the middle of row 2 to the third pixel of row 4: rows 1 to 4 of the view.
  const RECT band = {0, 2 * lh + lh / 2, 30, 4 * lh + 2};
  ::InvalidateRect(hwnd, &band, TRUE);
  ::UpdateWindow(hwnd);
  const auto drawn = recorder.take();
  ASSERT_EQ(drawn.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(drawn[i].text, "line " + std::to_string(5002 + 64979 + 1 + i));
    EXPECT_EQ(drawn[i].x, -2 * cw);
    EXPECT_EQ(drawn[i].y, (1 + i) * lh);
  }
  // The last rows: the empty current line is drawn too, and nothing past it.
  const RECT bottom = {0, 19 * lh, 30, 20 * lh};
  ::InvalidateRect(hwnd, &bottom, TRUE);
  ::UpdateWindow(hwnd);
  const auto last = recorder.take();
  ASSERT_EQ(last.size(), 2u);
  EXPECT_EQ(last[0].text, "line 69999");
  EXPECT_EQ(last[1].text, "");
}

TEST_F(FastDisplayTest, PagesAreTheVisibleLinesAndAnEighthOfTheColumnsAtLeastOne) {
  addLines(100);
  kqtest::SetClientSize(hwnd, 40 * cw, 10 * lh);
  send(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(window.m_vScrollPos, 10);
  send(WM_HSCROLL, SB_PAGERIGHT);
  EXPECT_EQ(window.m_hScrollPos, 5);
  // Less than one line high and fewer than eight columns wide: pages of 1.
  kqtest::SetClientSize(hwnd, 20, lh - 1);
  ASSERT_EQ(window.m_clientWidth, 20);
  send(WM_VSCROLL, SB_PAGEDOWN);
  EXPECT_EQ(window.m_vScrollPos, 11);
  send(WM_HSCROLL, SB_PAGERIGHT);
  EXPECT_EQ(window.m_hScrollPos, 6);
  send(WM_VSCROLL, SB_PAGEUP);
  EXPECT_EQ(window.m_vScrollPos, 10);
}

TEST_F(FastDisplayTest, ScrollRequestsStopAtBothEndsAndTheThumbMovesOnlyWhenReleased) {
  addLines(50);
  kqtest::SetClientSize(hwnd, 40 * cw, 10 * lh);
  Settle(hwnd);
  const int vMax = window.m_vScrollMax, hMax = window.m_hScrollMax;
  ASSERT_EQ(vMax, 41);
  ASSERT_EQ(hMax, 41);
  kqtest::TextOutRecorder recorder;
  for (UINT code : {SB_LINEUP, SB_PAGEUP, SB_TOP, SB_THUMBTRACK, SB_ENDSCROLL}) {
    send(WM_VSCROLL, code, 7);
    send(WM_HSCROLL, code, 7);
  }
  Settle(hwnd);
  EXPECT_EQ(window.m_vScrollPos, 0);
  EXPECT_EQ(window.m_hScrollPos, 0);
  EXPECT_TRUE(recorder.take().empty()); // nothing moved, nothing painted

  send(WM_VSCROLL, SB_THUMBPOSITION, 7);
  EXPECT_EQ(window.m_vScrollPos, 7);
  EXPECT_EQ(ScrollInfo(hwnd, SB_VERT).nPos, 7);
  EXPECT_FALSE(recorder.take().empty()); // painted at once
  send(WM_VSCROLL, SB_THUMBPOSITION, 300);
  EXPECT_EQ(window.m_vScrollPos, vMax);
  send(WM_HSCROLL, SB_RIGHT);
  EXPECT_EQ(window.m_hScrollPos, hMax);
  EXPECT_EQ(ScrollInfo(hwnd, SB_HORZ).nPos, hMax);
  Settle(hwnd);
  recorder.take();
  for (UINT code : {SB_LINEDOWN, SB_PAGEDOWN, SB_BOTTOM}) {
    send(WM_VSCROLL, code);
    send(WM_HSCROLL, code);
  }
  Settle(hwnd);
  EXPECT_EQ(window.m_vScrollPos, vMax);
  EXPECT_EQ(window.m_hScrollPos, hMax);
  EXPECT_TRUE(recorder.take().empty());
  send(WM_VSCROLL, SB_LINEUP);
  send(WM_HSCROLL, SB_LINELEFT);
  EXPECT_EQ(window.m_vScrollPos, vMax - 1);
  EXPECT_EQ(window.m_hScrollPos, hMax - 1);
}

TEST_F(FastDisplayTest, ReturnedInputComesBackLastFirstAndInPieces) {
  EXPECT_EQ(window.ReturnInput(const_cast<char*>("b"), 1), 1);
  EXPECT_EQ(window.ReturnInput(const_cast<char*>("a"), 1), 1);
  EXPECT_EQ(pending(), "ab");
  char buffer[10] = {'#', '#'};
  EXPECT_EQ(window.GetInput(buffer, 0), 0);
  EXPECT_EQ(pending(), "ab");
  EXPECT_EQ(window.GetInput(buffer, 1), 1);
  EXPECT_EQ(buffer[0], 'a');
  EXPECT_EQ(buffer[1], '#');
  EXPECT_EQ(window.GetInput(buffer, 10), 1);
  EXPECT_EQ(buffer[0], 'b');
  EXPECT_EQ(window.GetInput(buffer, 10), 0);
  window.ReturnInput(const_cast<char*>("xyz"), 3);
  EXPECT_EQ(window.FlushInput(), 1);
  EXPECT_EQ(window.GetInput(buffer, 10), 0);
}

TEST_F(FastDisplayTest, AskingForInputWhenNoneIsPendingShowsTheLastPage) {
  addLines(100);
  kqtest::SetClientSize(hwnd, 40 * cw, 10 * lh);
  ASSERT_EQ(window.m_vScrollPos, 0);
  char buffer[4];
  // Pending input: the view stays.
  window.ReturnInput(const_cast<char*>("q"), 1);
  EXPECT_EQ(window.GetInput(buffer, 0), 0);
  EXPECT_EQ(window.m_vScrollPos, 0);
  EXPECT_EQ(window.GetInput(buffer, 4), 1);
  EXPECT_EQ(window.m_vScrollPos, 0);
  // Nothing pending: the view moves to the last page.
  EXPECT_EQ(window.GetInput(buffer, 4), 0);
  EXPECT_EQ(window.m_vScrollPos, 101 - 10);
  EXPECT_EQ(ScrollInfo(hwnd, SB_VERT).nPos, 101 - 10);
}

TEST_F(FastDisplayTest, ClearingEmptiesTheQueueAndTheLinesAndKeepsTheColumn) {
  addLines(100);
  kqtest::SetClientSize(hwnd, 40 * cw, 10 * lh);
  send(WM_VSCROLL, SB_THUMBPOSITION, 30);
  send(WM_HSCROLL, SB_THUMBPOSITION, 4);
  window.ReturnInput(const_cast<char*>("zz"), 2);
  Settle(hwnd);
  window.OnClearBuffer();
  EXPECT_TRUE(window.m_input.IsEmpty());
  EXPECT_EQ(window.m_lines.GetCount(), 1);
  EXPECT_TRUE(window.m_lines.GetHead().IsEmpty());
  EXPECT_EQ(window.m_vScrollPos, 0);
  EXPECT_EQ(window.m_hScrollPos, 4);
  RECT update = {};
  EXPECT_TRUE(::GetUpdateRect(hwnd, &update, FALSE));
  // Display of nothing still recomputes and invalidates.
  Settle(hwnd);
  window.Display("x", 0);
  window.Display("x", -1);
  EXPECT_TRUE(::GetUpdateRect(hwnd, &update, FALSE));
  EXPECT_EQ(window.m_lines.GetCount(), 1);
}

TEST_F(FastDisplayTest, FontDialogConfirmedResetsTheViewCancelledChangesNothing) {
  addLines(100);
  kqtest::SetClientSize(hwnd, 40 * cw, 10 * lh);
  send(WM_VSCROLL, SB_THUMBPOSITION, 30);
  send(WM_HSCROLL, SB_THUMBPOSITION, 4);
  const LOGFONTA before = window.m_logFont;
  kqtest::FontChoice choice;
  {
    kqtest::DialogWatcher watcher(kqtest::ChooseInFontDialog("DejaVu Serif", "Blue", IDCANCEL, choice));
    window.OnFont();
    ASSERT_TRUE(watcher.Result().found);
  }
  EXPECT_EQ(std::memcmp(&window.m_logFont, &before, sizeof(before)), 0);
  EXPECT_EQ(window.m_vScrollPos, 30);
  EXPECT_EQ(window.m_hScrollPos, 4);
  {
    kqtest::DialogWatcher watcher(kqtest::ChooseInFontDialog("DejaVu Sans Mono", "Green", IDOK, choice));
    window.OnFont();
    ASSERT_TRUE(watcher.Result().found);
  }
  ASSERT_TRUE(choice.picked);
  EXPECT_STREQ(window.m_logFont.lfFaceName, "DejaVu Sans Mono");
  EXPECT_EQ(window.m_textColor, choice.colour);
  EXPECT_EQ(window.m_vScrollPos, 0);
  EXPECT_EQ(window.m_hScrollPos, 0);
  EXPECT_EQ(window.m_capsWidth, window.m_charWidth); // fixed pitch
  EXPECT_EQ(window.m_textWidth, 81 * window.m_charWidth);
  kqtest::TextOutRecorder recorder;
  ::InvalidateRect(hwnd, nullptr, TRUE);
  ::UpdateWindow(hwnd);
  const auto drawn = recorder.take();
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn[0].text, "line 0");
  EXPECT_EQ(drawn[0].face, "DejaVu Sans Mono");
  EXPECT_EQ(drawn[0].textColor, choice.colour);
}

// A top-level fast display window, minimised while the host asks for input.
namespace {
std::vector<int> minMaxRequests;
LRESULT CALLBACK recordMinMax(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_MINMAX)
    minMaxRequests.push_back(LOWORD(lParam));
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
} // namespace

TEST(FastDisplay, AMinimisedWindowIsRestoredForTheUpdateAndMinimisedAgain) {
  CFastDisplayWnd window;
  ASSERT_TRUE(
      window.CreateEx(0, nullptr, "fast", WS_OVERLAPPEDWINDOW | barsStyle, 0, 0, 400, 300, nullptr, nullptr));
  std::string text;
  for (int i = 0; i < 100; ++i)
    text += "line\n";
  window.Display(text.data(), static_cast<int>(text.size()));
  ::ShowWindow(window.GetSafeHwnd(), SW_MINIMIZE);
  kqtest::PumpPending();
  ASSERT_TRUE(window.IsIconic());

  HHOOK hook = ::SetWindowsHookExA(WH_CBT, recordMinMax, nullptr, ::GetCurrentThreadId());
  minMaxRequests.clear();
  char buffer[4];
  EXPECT_EQ(window.GetInput(buffer, 4), 0);
  const std::vector<int> seen = minMaxRequests;
  minMaxRequests.clear();
  window.ReturnInput(const_cast<char*>("k"), 1);
  EXPECT_EQ(window.GetInput(buffer, 4), 1); // input pending: no restore
  ::UnhookWindowsHookEx(hook);

  ASSERT_EQ(seen.size(), 2u);
  EXPECT_NE(seen[0], SW_MINIMIZE); // restored ...
  EXPECT_EQ(seen[1], SW_MINIMIZE); // ... then minimised again
  EXPECT_TRUE(minMaxRequests.empty());
  EXPECT_TRUE(window.IsIconic());
  window.DestroyWindow();
}

TEST(FastDisplay, WithoutAWindowLinesAndInputStillWork) {
  CFastDisplayWnd window;
  window.Display("abc\ndef", 7);
  EXPECT_EQ(window.m_lines.GetCount(), 2);
  char buffer[4];
  EXPECT_EQ(window.GetInput(buffer, 4), 0);
  window.ReturnInput(const_cast<char*>("in"), 2);
  EXPECT_EQ(window.GetInput(buffer, 4), 2);
  window.ReturnInput(const_cast<char*>("in"), 2);
  window.OnClearBuffer();
  EXPECT_EQ(window.m_lines.GetCount(), 1);
  EXPECT_EQ(window.GetInput(buffer, 4), 0);
  EXPECT_EQ(window.m_vScrollPos, 0);
}

TEST(FastDisplay, TheExportedScrollRule) {
  EXPECT_EQ(CFastDisplayWnd::compute_scroll_pos_delta(SB_PAGEUP, 0, 5, 10, 1, 8), -5);
  EXPECT_EQ(CFastDisplayWnd::compute_scroll_pos_delta(SB_THUMBPOSITION, 7, 5, 10, 1, 8), 2);
  EXPECT_EQ(CFastDisplayWnd::compute_scroll_pos_delta(SB_THUMBTRACK, 7, 5, 10, 1, 8), 0);
  EXPECT_EQ(CFastDisplayWnd::compute_scroll_pos_delta(SB_LINEDOWN, 0, 12, 10, 1, 8), -2);
  EXPECT_EQ(CFastDisplayWnd::compute_scroll_pos_delta(SB_BOTTOM, 0, 0, -3, 1, 8), 0);
}
