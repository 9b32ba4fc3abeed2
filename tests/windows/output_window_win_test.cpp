// COutputWindow on a real window under Wine: creation, metrics and ranges, painting, scrolling, the
// view following new text, clearing, the font dialog and SaveAs.
#include "dialog_watcher.h"
#include "font_dialog_driver.h"
#include "kqwindows.h"
#include "window_test_util.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

using kqtest::ScrollInfo;
using kqtest::Settle;

namespace {
// A top-level output window, destroyed (and so deleted) at the end of the test.
class OutputWindowTest : public testing::Test {
protected:
  void SetUp() override {
    window = new COutputWindow;
    ASSERT_EQ(window->Create("Output"), 1);
    hwnd = window->GetSafeHwnd();
  }
  void TearDown() override {
    if (hwnd != nullptr && ::IsWindow(hwnd))
      ::DestroyWindow(hwnd);
    kqtest::PumpPending();
  }
  void addLines(int count, const char* prefix = "line ") {
    for (int i = 0; i < count; ++i)
      window->Display((prefix + std::to_string(lines() - 1) + "\n").c_str()); // line i at index i
  }
  int lines() const { return static_cast<int>(window->m_lines.GetCount()); }
  void send(UINT message, UINT code, UINT pos = 0) {
    ::SendMessageA(hwnd, message, MAKEWPARAM(code, pos), 0);
  }

  COutputWindow* window = nullptr;
  HWND hwnd = nullptr;
};
} // namespace

TEST_F(OutputWindowTest, StartsWithTheStockFixedFontAndItsCellSizes) {
  const kqtest::StockFont stock;
  ASSERT_EQ(stock.metrics.tmPitchAndFamily & TMPF_FIXED_PITCH, 0) << "the stock font is fixed pitch";
  EXPECT_STREQ(window->m_logFont.lfFaceName, stock.font.lfFaceName);
  EXPECT_EQ(window->m_logFont.lfHeight, stock.font.lfHeight);
  EXPECT_EQ(window->m_textColor, ::GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_EQ(window->m_charWidth, stock.metrics.tmAveCharWidth);
  EXPECT_EQ(window->m_capsWidth, window->m_charWidth);
  EXPECT_EQ(window->m_lineHeight, stock.metrics.tmHeight + stock.metrics.tmExternalLeading);
  EXPECT_EQ(window->m_textWidth, 141 * window->m_charWidth);
  EXPECT_EQ(window->m_maxLines, 30000);
  EXPECT_EQ(window->m_lineWidth, 140);
  EXPECT_TRUE(::IsWindowVisible(hwnd));
  EXPECT_EQ(::GetWindowLongA(hwnd, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
}

TEST_F(OutputWindowTest, CloseIsGreyedInTheSystemMenu) {
  HMENU menu = ::GetSystemMenu(hwnd, FALSE);
  ASSERT_NE(menu, nullptr);
  const UINT state = ::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND);
  ASSERT_NE(state, static_cast<UINT>(-1));
  EXPECT_TRUE(state & MF_GRAYED);
  // Other items keep working.
  EXPECT_FALSE(::GetMenuState(menu, SC_MINIMIZE, MF_BYCOMMAND) & MF_GRAYED);
}

TEST_F(OutputWindowTest, RangesFollowTheClientSizeAndTheLineCount) {
  const int cw = window->m_charWidth, lh = window->m_lineHeight;
  addLines(100); // 101 lines with the current one
  kqtest::SetClientSize(hwnd, 50 * cw + 3, 20 * lh + 5);
  Settle(hwnd);
  const RECT client = kqtest::ClientRect(hwnd);
  EXPECT_EQ(window->m_clientWidth, client.right);
  EXPECT_EQ(window->m_clientHeight, client.bottom);
  EXPECT_EQ(window->m_vScrollMax, 101 - 20);
  EXPECT_EQ(window->m_hScrollMax, (141 * cw - (50 * cw + 3)) / cw);
  SCROLLINFO v = ScrollInfo(hwnd, SB_VERT), h = ScrollInfo(hwnd, SB_HORZ);
  EXPECT_EQ(v.nMin, 0);
  EXPECT_EQ(v.nMax, window->m_vScrollMax);
  EXPECT_EQ(h.nMax, window->m_hScrollMax);

  // One column short of the text width: a range of 1; the whole text width: no horizontal bar.
  kqtest::SetClientSize(hwnd, 140 * cw, 20 * lh);
  EXPECT_EQ(window->m_hScrollMax, 1);
  kqtest::SetClientSize(hwnd, 141 * cw, 20 * lh);
  EXPECT_EQ(window->m_hScrollMax, 0);
  EXPECT_EQ(::GetWindowLongA(hwnd, GWL_STYLE) & WS_HSCROLL, 0);
  // As tall as the lines: no vertical range and no vertical bar; one line less: a range of 1. (Wide
  // enough that the vertical bar never brings the horizontal one back.)
  window->OnClearBuffer();
  addLines(30);
  kqtest::SetClientSize(hwnd, 160 * cw, 31 * lh);
  EXPECT_EQ(window->m_vScrollMax, 0);
  EXPECT_EQ(::GetWindowLongA(hwnd, GWL_STYLE) & WS_VSCROLL, 0);
  kqtest::SetClientSize(hwnd, 160 * cw, 30 * lh);
  EXPECT_EQ(window->m_vScrollMax, 1);
  EXPECT_NE(::GetWindowLongA(hwnd, GWL_STYLE) & WS_VSCROLL, 0);
  // Minimised (0 x 0): every line is below the window, every column beside it.
  ::ShowWindow(hwnd, SW_MINIMIZE);
  kqtest::PumpPending();
  EXPECT_EQ(window->m_vScrollMax, 31);
  EXPECT_EQ(window->m_hScrollMax, 141);
}

TEST_F(OutputWindowTest, PaintsOnlyTheRowsOfTheInvalidRectangle) {
  const int cw = window->m_charWidth, lh = window->m_lineHeight;
  addLines(200);
  kqtest::SetClientSize(hwnd, 60 * cw, 20 * lh);
  send(WM_VSCROLL, SB_THUMBPOSITION, 100);
  send(WM_HSCROLL, SB_THUMBPOSITION, 3);
  ASSERT_EQ(window->m_vScrollPos, 100);
  ASSERT_EQ(window->m_hScrollPos, 3);
  Settle(hwnd);

  kqtest::TextOutRecorder recorder;
  ASSERT_TRUE(recorder.installed());
  // A band from the middle of row 2 to the third pixel of row 4: lines 101 to 104.
  const RECT band = {5, 2 * lh + lh / 2, 20, 4 * lh + 2};
  ::InvalidateRect(hwnd, &band, TRUE);
  ::UpdateWindow(hwnd);
  const auto drawn = recorder.take();
  ASSERT_EQ(drawn.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(drawn[i].text, "line " + std::to_string(101 + i));
    EXPECT_EQ(drawn[i].x, -3 * cw);
    EXPECT_EQ(drawn[i].y, (1 + i) * lh);
    EXPECT_EQ(drawn[i].textColor, ::GetSysColor(COLOR_WINDOWTEXT));
    EXPECT_EQ(drawn[i].backColor, ::GetSysColor(COLOR_WINDOW));
  }
  // A whole repaint starts one line above the top, off the client area.
  ::InvalidateRect(hwnd, nullptr, TRUE);
  ::UpdateWindow(hwnd);
  const auto all = recorder.take();
  ASSERT_EQ(all.size(), 22u);
  EXPECT_EQ(all.front().text, "line 99");
  EXPECT_EQ(all.front().y, -lh);
  EXPECT_EQ(all.back().text, "line 120");
}

TEST_F(OutputWindowTest, EveryScrollRequestAtBothEnds) {
  const int cw = window->m_charWidth, lh = window->m_lineHeight;
  addLines(100);
  kqtest::SetClientSize(hwnd, 40 * cw, 20 * lh);
  send(WM_VSCROLL, SB_TOP);
  Settle(hwnd);
  const int vMax = window->m_vScrollMax, hMax = window->m_hScrollMax;
  ASSERT_EQ(vMax, 81);
  ASSERT_EQ(hMax, 101);
  struct Step {
    UINT code;
    UINT pos;
    int expected;
  };
  auto walk = [&](UINT message, int bar, const int& field, std::initializer_list<Step> steps) {
    for (const Step& s : steps) {
      send(message, s.code, s.pos);
      EXPECT_EQ(field, s.expected) << "code " << s.code;
      EXPECT_EQ(ScrollInfo(hwnd, bar).nPos, s.expected) << "code " << s.code;
    }
  };
  // Vertical: page 20 lines.
  walk(WM_VSCROLL, SB_VERT, window->m_vScrollPos,
       {{SB_LINEUP, 0, 0},
        {SB_PAGEUP, 0, 0},
        {SB_TOP, 0, 0},
        {SB_LINEDOWN, 0, 1},
        {SB_PAGEDOWN, 0, 21},
        {SB_LINEUP, 0, 20},
        {SB_THUMBTRACK, 70, 20},
        {SB_ENDSCROLL, 0, 20},
        {SB_THUMBPOSITION, 70, 70},
        {SB_PAGEDOWN, 0, vMax},
        {SB_LINEDOWN, 0, vMax},
        {SB_PAGEDOWN, 0, vMax},
        {SB_BOTTOM, 0, vMax},
        {SB_THUMBPOSITION, 200, vMax},
        {SB_PAGEUP, 0, vMax - 20},
        {SB_TOP, 0, 0},
        {SB_BOTTOM, 0, vMax},
        {SB_PAGEUP, 0, vMax - 20}});
  // Horizontal: page 40 / 8 = 5 columns.
  walk(WM_HSCROLL, SB_HORZ, window->m_hScrollPos,
       {{SB_LINELEFT, 0, 0},
        {SB_PAGELEFT, 0, 0},
        {SB_LEFT, 0, 0},
        {SB_LINERIGHT, 0, 1},
        {SB_PAGERIGHT, 0, 6},
        {SB_THUMBTRACK, 50, 6},
        {SB_THUMBPOSITION, 50, 50},
        {SB_RIGHT, 0, hMax},
        {SB_LINERIGHT, 0, hMax},
        {SB_PAGERIGHT, 0, hMax},
        {SB_PAGELEFT, 0, hMax - 5},
        {SB_LEFT, 0, 0}});
}

TEST_F(OutputWindowTest, ScrollingRepaintsOnlyTheUncoveredBandAndNothingAtAnEnd) {
  const int cw = window->m_charWidth, lh = window->m_lineHeight;
  addLines(100);
  kqtest::SetClientSize(hwnd, 40 * cw, 20 * lh);
  send(WM_VSCROLL, SB_TOP);
  Settle(hwnd);
  kqtest::TextOutRecorder recorder;
  send(WM_VSCROLL, SB_LINEUP); // at the top already
  send(WM_HSCROLL, SB_LINELEFT);
  Settle(hwnd);
  EXPECT_TRUE(recorder.take().empty());

  // One line down: the pixels move up and only the uncovered bottom row is painted, at once (with the
  // row above it and the one below), before any further message is handled.
  send(WM_VSCROLL, SB_LINEDOWN);
  const auto drawn = recorder.take();
  ASSERT_EQ(drawn.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(drawn[i].text, "line " + std::to_string(19 + i));
    EXPECT_EQ(drawn[i].y, (18 + i) * lh);
  }
}

TEST_F(OutputWindowTest, AViewAtTheBottomFollowsNewTextAScrolledUpViewStays) {
  const int lh = window->m_lineHeight;
  kqtest::SetClientSize(hwnd, 50 * window->m_charWidth, 10 * lh);
  addLines(30);
  EXPECT_EQ(window->m_vScrollMax, 31 - 10);
  EXPECT_EQ(window->m_vScrollPos, window->m_vScrollMax);
  addLines(5);
  EXPECT_EQ(window->m_vScrollMax, 36 - 10);
  EXPECT_EQ(window->m_vScrollPos, 26);
  EXPECT_EQ(ScrollInfo(hwnd, SB_VERT).nPos, 26);

  send(WM_VSCROLL, SB_LINEUP);
  send(WM_VSCROLL, SB_LINEUP);
  ASSERT_EQ(window->m_vScrollPos, 24);
  addLines(5);
  EXPECT_EQ(window->m_vScrollMax, 31);
  EXPECT_EQ(window->m_vScrollPos, 24);
  EXPECT_EQ(ScrollInfo(hwnd, SB_VERT).nPos, 24);
  // Text that adds no line still keeps a bottom view at the bottom.
  send(WM_VSCROLL, SB_BOTTOM);
  window->Display("partial");
  EXPECT_EQ(window->m_vScrollPos, 31);
}

TEST_F(OutputWindowTest, ClearingGoesBackToTheFirstLineAndKeepsTheColumn) {
  const int cw = window->m_charWidth, lh = window->m_lineHeight;
  kqtest::SetClientSize(hwnd, 40 * cw, 10 * lh);
  addLines(50);
  send(WM_HSCROLL, SB_THUMBPOSITION, 7);
  Settle(hwnd);
  window->OnClearBuffer();
  EXPECT_EQ(window->m_lines.GetCount(), 1);
  EXPECT_TRUE(window->m_lines.GetHead().IsEmpty());
  EXPECT_EQ(window->m_vScrollMax, 0);
  EXPECT_EQ(window->m_vScrollPos, 0);
  EXPECT_EQ(window->m_hScrollPos, 7);
  RECT update = {};
  EXPECT_TRUE(::GetUpdateRect(hwnd, &update, FALSE));
  EXPECT_EQ(update.bottom - update.top, kqtest::ClientRect(hwnd).bottom); // the whole client area
}

TEST_F(OutputWindowTest, ZeroAndNegativeLengthsStillUpdateTheView) {
  window->Display("abc", 3);
  Settle(hwnd);
  ::ValidateRect(hwnd, nullptr);
  window->Display("xyz", 0);
  window->Display("xyz", -5);
  EXPECT_EQ(window->m_lines.GetCount(), 1);
  EXPECT_TRUE(window->m_lines.GetHead() == "abc");
  RECT update = {};
  EXPECT_TRUE(::GetUpdateRect(hwnd, &update, FALSE));
}

TEST_F(OutputWindowTest, AConfirmedFontDrawsEveryLineInItsFaceAndColourFromTheTopLeft) {
  const int cw = window->m_charWidth, lh = window->m_lineHeight;
  addLines(50);
  kqtest::SetClientSize(hwnd, 40 * cw, 10 * lh);
  send(WM_VSCROLL, SB_THUMBPOSITION, 20);
  send(WM_HSCROLL, SB_THUMBPOSITION, 5);
  kqtest::FontChoice choice;
  {
    kqtest::DialogWatcher watcher(kqtest::ChooseInFontDialog("DejaVu Sans", "Red", IDOK, choice));
    window->OnFont();
    ASSERT_TRUE(watcher.Result().found);
  }
  ASSERT_TRUE(choice.picked);
  EXPECT_STREQ(window->m_logFont.lfFaceName, "DejaVu Sans");
  EXPECT_EQ(window->m_textColor, RGB(255, 0, 0));
  EXPECT_EQ(window->m_textColor, choice.colour);
  EXPECT_EQ(window->m_vScrollPos, 0);
  EXPECT_EQ(window->m_hScrollPos, 0);
  EXPECT_EQ(ScrollInfo(hwnd, SB_VERT).nPos, 0);
  EXPECT_EQ(ScrollInfo(hwnd, SB_HORZ).nPos, 0);
  // A variable-pitch font: capitals count one and a half average characters.
  const TEXTMETRICA tm = kqtest::MetricsOf(window->m_logFont);
  ASSERT_NE(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
  EXPECT_EQ(window->m_charWidth, tm.tmAveCharWidth);
  EXPECT_EQ(window->m_capsWidth, 3 * tm.tmAveCharWidth / 2);
  EXPECT_EQ(window->m_lineHeight, tm.tmHeight + tm.tmExternalLeading);
  EXPECT_EQ(window->m_textWidth, 141 * window->m_capsWidth);
  EXPECT_EQ(window->m_hScrollMax, (window->m_textWidth - window->m_clientWidth) / window->m_charWidth);
  EXPECT_EQ(window->m_vScrollMax, 51 - window->m_clientHeight / window->m_lineHeight);

  kqtest::TextOutRecorder recorder;
  ::InvalidateRect(hwnd, nullptr, TRUE);
  ::UpdateWindow(hwnd);
  const auto drawn = recorder.take();
  ASSERT_FALSE(drawn.empty());
  EXPECT_EQ(drawn[0].text, "line 0");
  EXPECT_EQ(drawn[0].x, 0);
  EXPECT_EQ(drawn[0].y, 0);
  for (const auto& d : drawn) {
    EXPECT_EQ(d.face, "DejaVu Sans");
    EXPECT_EQ(d.textColor, RGB(255, 0, 0));
  }
}

TEST_F(OutputWindowTest, ACancelledFontDialogChangesNothing) {
  const int cw = window->m_charWidth, lh = window->m_lineHeight;
  addLines(50);
  kqtest::SetClientSize(hwnd, 40 * cw, 10 * lh);
  send(WM_VSCROLL, SB_THUMBPOSITION, 20);
  send(WM_HSCROLL, SB_THUMBPOSITION, 5);
  const LOGFONTA font = window->m_logFont;
  const COLORREF colour = window->m_textColor;
  kqtest::FontChoice choice;
  {
    kqtest::DialogWatcher watcher(kqtest::ChooseInFontDialog("DejaVu Serif", "Blue", IDCANCEL, choice));
    window->OnFont();
    ASSERT_TRUE(watcher.Result().found);
  }
  ASSERT_TRUE(choice.picked);
  EXPECT_EQ(std::memcmp(&window->m_logFont, &font, sizeof(font)), 0);
  EXPECT_EQ(window->m_textColor, colour);
  EXPECT_EQ(window->m_charWidth, cw);
  EXPECT_EQ(window->m_lineHeight, lh);
  EXPECT_EQ(window->m_vScrollPos, 20);
  EXPECT_EQ(window->m_hScrollPos, 5);
}

namespace {
std::string tempPath(const std::string& name) {
  char dir[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, dir);
  return std::string(dir) + "kqwin-" + std::to_string(::GetCurrentProcessId()) + "-" + name;
}

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
} // namespace

TEST_F(OutputWindowTest, SaveAsWritesEachLineWithCrLfThenOneMore) {
  const std::string path = tempPath("save.txt");
  ASSERT_EQ(window->SaveAs(path.c_str()), 1);
  EXPECT_EQ(fileBytes(path), "\r\n\r\n"); // the empty current line, then the extra line end

  window->Display("abc\n");
  ASSERT_EQ(window->SaveAs(path.c_str()), 1);
  EXPECT_EQ(fileBytes(path), "abc\r\n\r\n\r\n"); // the file was truncated first

  window->OnClearBuffer();
  const std::string text("a\tb\r\nx\0y\nlast", 15);
  window->Display(text.data(), static_cast<int>(text.size()));
  ASSERT_EQ(window->SaveAs(path.c_str()), 1);
  EXPECT_EQ(fileBytes(path), "a       b\r\nx\r\nlast\r\n\r\n"); // a line stops at its NUL
  ::DeleteFileA(path.c_str());
}

TEST_F(OutputWindowTest, SaveAsSharesTheFileAndFailsWhereNoFileCanBeOpened) {
  // Another handle holding the file open for reading and writing does not stop SaveAs.
  const std::string path = tempPath("shared.txt");
  HANDLE other = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  window->Display("shared\n");
  EXPECT_EQ(window->SaveAs(path.c_str()), 1);
  ::CloseHandle(other);
  EXPECT_EQ(fileBytes(path), "shared\r\n\r\n\r\n");
  ::DeleteFileA(path.c_str());

  const std::string missingDir = tempPath("no-such-dir") + "\\out.txt";
  EXPECT_EQ(window->SaveAs(missingDir.c_str()), 0);
  EXPECT_EQ(::GetFileAttributesA(missingDir.c_str()), INVALID_FILE_ATTRIBUTES);
  char dir[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, dir);
  EXPECT_EQ(window->SaveAs(dir), 0); // a folder
}

TEST(OutputWindow, AChildWindowInItsParentHasNoSystemMenu) {
  HWND parent = ::CreateWindowExA(0, "STATIC", "parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 500, 400,
                                  nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(parent, nullptr);
  auto* window = new COutputWindow;
  const RECT rect = {10, 20, 310, 220};
  ASSERT_EQ(window->Create("child", rect, CWnd::FromHandle(parent)), 1);
  HWND child = window->GetSafeHwnd();
  EXPECT_EQ(::GetParent(child), parent);
  EXPECT_TRUE(::GetWindowLongA(child, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(::IsWindowVisible(child));
  RECT placed = {};
  ::GetWindowRect(child, &placed);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(placed.left, 10);
  EXPECT_EQ(placed.top, 20);
  EXPECT_EQ(placed.right, 310);
  EXPECT_EQ(placed.bottom, 220);
  EXPECT_EQ(::GetSystemMenu(child, FALSE), nullptr);
  window->Display("in a child\n");
  EXPECT_EQ(window->m_vScrollPos, 0);
  ::DestroyWindow(parent); // takes the child with it; the frame deletes itself
  kqtest::PumpPending();
}

TEST(OutputWindow, BeforeItsWindowExistsTextIsStoredAndShownOnceCreated) {
  auto* window = new COutputWindow;
  window->Display("one\ntwo\n");
  window->OnClearBuffer();
  window->Display("three\nfour\nfive\nsix");
  EXPECT_EQ(window->m_lines.GetCount(), 4);
  EXPECT_EQ(window->m_vScrollMax, 0);
  ASSERT_EQ(window->Create("late"), 1);
  HWND hwnd = window->GetSafeHwnd();
  kqtest::SetClientSize(hwnd, 40 * window->m_charWidth, 2 * window->m_lineHeight);
  EXPECT_EQ(window->m_vScrollMax, 2);
  kqtest::TextOutRecorder recorder;
  ::InvalidateRect(hwnd, nullptr, TRUE);
  ::UpdateWindow(hwnd);
  const auto drawn = recorder.take();
  ASSERT_GE(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].text, "three");
  EXPECT_EQ(drawn[1].text, "four");
  ::DestroyWindow(hwnd);
  kqtest::PumpPending();
}
