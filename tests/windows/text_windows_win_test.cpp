// The text windows and the input dialog on real windows under Wine: what both windows do alike, as
// children of a host window (scroll, keys, wheel and copy also on the opt-in classes, which the plain ones
// must ignore); then what only one window does, and the input dialog from this executable's template.
#include "window_test_util.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

using kqtest::ClipboardText;
using kqtest::CrLfLines;
using kqtest::Key;
using kqtest::SetClientSize;

namespace {
template <class Kind> using TextWindow = kqtest::TextWindowTest<Kind>;
template <class Kind> using TextView = kqtest::TextWindowTest<Kind>;
using OutputWindowTest = kqtest::TextWindowTest<kqtest::OutputKind>;
using Kinds = testing::Types<kqtest::OutputKind, kqtest::FastKind>;
using AllKinds =
    testing::Types<kqtest::OutputKind, kqtest::FastKind, kqtest::OutputExKind, kqtest::FastExKind>;
TYPED_TEST_SUITE(TextWindow, Kinds);
TYPED_TEST_SUITE(TextView, AllKinds);

// The metrics of a font described by `font` on the screen.
TEXTMETRICA MetricsOf(const LOGFONTA& font) {
  TEXTMETRICA tm = {};
  HDC dc = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(dc, ::CreateFontIndirectA(&font));
  ::GetTextMetricsA(dc, &tm);
  ::DeleteObject(::SelectObject(dc, old));
  ::ReleaseDC(nullptr, dc);
  return tm;
}

// The user's wheel settings (lines and characters per notch) for one test, put back afterwards.
struct WheelSettings {
  WheelSettings() {
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    ::SystemParametersInfoA(SPI_GETWHEELSCROLLCHARS, 0, &chars, 0);
  }
  ~WheelSettings() { set(lines, chars); }
  static void set(UINT linesPerNotch, UINT charsPerNotch) {
    ::SystemParametersInfoA(SPI_SETWHEELSCROLLLINES, linesPerNotch, nullptr, 0);
    ::SystemParametersInfoA(SPI_SETWHEELSCROLLCHARS, charsPerNotch, nullptr, 0);
  }
  UINT lines = 3, chars = 3;
};
} // namespace

// Font, colour and cells from the stock fixed font, ranges of 1 (a column and a line short) and of 0 (bars
// hidden); then the font dialog: cancelled nothing changes, confirmed cells, ranges and drawing follow it.
TYPED_TEST(TextWindow, CellsFromTheStockFixedFontThenFromTheFontDialog) {
  auto& w = *this->window;
  const int cw = this->cw, lh = this->lh, width = TypeParam::width;
  LOGFONTA stock = {};
  ::GetObjectA(::GetStockObject(ANSI_FIXED_FONT), sizeof(stock), &stock);
  const TEXTMETRICA fixed = MetricsOf(stock);
  ASSERT_EQ(fixed.tmPitchAndFamily & TMPF_FIXED_PITCH, 0); // the bit is clear for a fixed-pitch font
  EXPECT_STREQ(w.m_logFont.lfFaceName, stock.lfFaceName);
  EXPECT_EQ(w.m_textColor, ::GetSysColor(COLOR_WINDOWTEXT));
  EXPECT_TRUE(cw == fixed.tmAveCharWidth && lh == fixed.tmHeight + fixed.tmExternalLeading);
  EXPECT_EQ(w.m_textWidth, (width + 1) * cw);
  this->addLines(50); // 51 lines with the current one
  for (const int range : {1, 0}) {
    SetClientSize(this->hwnd, (width + 1 - range) * cw, (51 - range) * lh);
    EXPECT_TRUE(w.m_hScrollMax == range && w.m_vScrollMax == range);
    const LONG style = ::GetWindowLongA(this->hwnd, GWL_STYLE);
    EXPECT_EQ(style & (WS_HSCROLL | WS_VSCROLL), range > 0 ? WS_HSCROLL | WS_VSCROLL : 0);
  }
  this->scrolledView(0, 20, 5);
  const LOGFONTA font = w.m_logFont;
  const COLORREF colour = w.m_textColor;
  ASSERT_TRUE(kqtest::ChooseFont(w, "Tahoma", "Blue", IDCANCEL));
  EXPECT_EQ(std::memcmp(&w.m_logFont, &font, sizeof(font)), 0);
  EXPECT_TRUE(w.m_textColor == colour && w.m_vScrollPos == 20 && w.m_hScrollPos == 5);
  ASSERT_TRUE(kqtest::ChooseFont(w, "Tahoma", "Red", IDOK));
  EXPECT_STREQ(w.m_logFont.lfFaceName, "Tahoma");
  EXPECT_EQ(w.m_textColor, RGB(255, 0, 0));
  EXPECT_TRUE(::GetScrollPos(this->hwnd, SB_VERT) == 0 && ::GetScrollPos(this->hwnd, SB_HORZ) == 0);
  // A variable-pitch face: capitals count one and a half average characters. Ranges from the new cells.
  const TEXTMETRICA tm = MetricsOf(w.m_logFont);
  ASSERT_NE(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
  EXPECT_EQ(w.m_charWidth, tm.tmAveCharWidth);
  EXPECT_EQ(w.m_capsWidth, 3 * tm.tmAveCharWidth / 2);
  EXPECT_EQ(w.m_lineHeight, tm.tmHeight + tm.tmExternalLeading);
  EXPECT_EQ(w.m_textWidth, (TypeParam::width + 1) * w.m_capsWidth);
  EXPECT_EQ(w.m_vScrollMax, 51 - w.m_clientHeight / w.m_lineHeight);
  kqtest::TextOutRecorder recorder;
  const auto drawn = recorder.repaint(this->hwnd);
  ASSERT_FALSE(drawn.empty());
  EXPECT_TRUE(drawn[0].text == "line 0" && drawn[0].x == 0 && drawn[0].y == 0)
      << drawn[0].x << ", " << drawn[0].y;
  for (const auto& d : drawn)
    EXPECT_TRUE(d.face == "Tahoma" && d.textColor == RGB(255, 0, 0)) << d.face << " " << d.textColor;
  // A font that cannot be made leaves the cells as they were.
  kqtest::IatHook noFont("kqafx.dll", "gdi32.dll", "CreateFontIndirectA",
                         kqtest::FailingCall<decltype(::CreateFontIndirectA)>());
  ASSERT_TRUE(noFont.installed());
  const auto cells = [&] {
    return std::vector<int>{w.m_charWidth, w.m_capsWidth, w.m_lineHeight, w.m_textWidth};
  };
  const std::vector<int> before = cells();
  ASSERT_TRUE(kqtest::ChooseFont(w, "Tahoma", "Red", IDOK));
  EXPECT_EQ(cells(), before);
}

// At the end of a full store (the oldest lines dropped), so the rows are fetched by index from far in.
TYPED_TEST(TextWindow, PaintsOnlyTheRowsOfTheInvalidRectangle) {
  auto& w = *this->window;
  const int cw = this->cw, lh = this->lh;
  const long long total = TypeParam::cap + 5000, dropped = total - (TypeParam::cap - 2);
  this->addLines(total);
  ASSERT_EQ(w.m_lines.GetCount(), TypeParam::cap - 1);
  SetClientSize(this->hwnd, 60 * cw, 20 * lh);
  this->send(WM_VSCROLL, SB_BOTTOM);
  this->send(WM_HSCROLL, SB_THUMBPOSITION, 3);
  const int top = w.m_vScrollPos;
  ASSERT_EQ(top, TypeParam::cap - 1 - 20);
  kqtest::Settle(this->hwnd);
  kqtest::TextOutRecorder recorder;
  // From the middle of row 2 to the third pixel of row 4: rows 1 to 4, moved 3 columns left.
  const RECT band = {5, 2 * lh + lh / 2, 20, 4 * lh + 2};
  const auto drawn = recorder.repaint(this->hwnd, &band);
  ASSERT_EQ(drawn.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(drawn[i].text, "line " + std::to_string(dropped + top + 1 + i));
    EXPECT_TRUE(drawn[i].x == -3 * cw && drawn[i].y == (1 + i) * lh) << drawn[i].x << ", " << drawn[i].y;
  }
  // A whole repaint: from the line above the top (off the client area) to the empty current line.
  const auto all = recorder.repaint(this->hwnd);
  ASSERT_EQ(all.size(), 21u);
  EXPECT_TRUE(all.front().text == "line " + std::to_string(dropped + top - 1) && all.front().y == -lh);
  EXPECT_TRUE(all[19].text == "line " + std::to_string(total - 1) && all.back().text.empty());
}

// Clearing: the first line, the column kept, all invalidated; no bytes store nothing; a narrower range too.
TYPED_TEST(TextWindow, ClearingGoesBackToTheFirstLineAndKeepsTheColumn) {
  auto& w = *this->window;
  this->scrolledView(100, 30, 4);
  kqtest::Settle(this->hwnd);
  w.OnClearBuffer();
  EXPECT_TRUE(w.m_lines.GetCount() == 1 && w.m_lines.GetHead().IsEmpty());
  EXPECT_TRUE(w.m_vScrollPos == 0 && w.m_hScrollPos == 4) << w.m_vScrollPos << ", " << w.m_hScrollPos;
  RECT update = {};
  EXPECT_TRUE(::GetUpdateRect(this->hwnd, &update, FALSE));
  EXPECT_EQ(update.bottom - update.top, 10 * this->lh);
  w.Display("abc", 3);
  kqtest::Settle(this->hwnd);
  w.Display("xyz", 0);
  w.Display("xyz", -5);
  EXPECT_TRUE(::GetUpdateRect(this->hwnd, &update, FALSE));
  EXPECT_TRUE(w.m_lines.GetCount() == 1 && w.m_lines.GetHead() == "abc");
  SetClientSize(this->hwnd, (TypeParam::width + 1) * this->cw, 10 * this->lh); // the whole width shown
  EXPECT_TRUE(w.m_hScrollMax == 0 && w.m_hScrollPos == 0) << w.m_hScrollMax << ", " << w.m_hScrollPos;
}

TYPED_TEST(TextWindow, BeforeItsWindowExistsTextIsStoredAndShownOnceCreated) {
  auto* late = new typename TypeParam::Window;
  // No font, colour or view yet: every one of those fields is 0 until the window is created.
  EXPECT_EQ(late->m_charWidth | late->m_lineHeight | late->m_hScrollPos | late->m_vScrollPos |
                late->m_capsWidth | late->m_textWidth | late->m_clientWidth | late->m_clientHeight |
                late->m_vScrollMax | late->m_hScrollMax | static_cast<int>(late->m_textColor) |
                late->m_logFont.lfHeight,
            0);
  late->Display("one\ntwo\n", 8);
  late->OnClearBuffer();
  late->Display("three\nfour\nfive\nsix", 19);
  EXPECT_TRUE(late->m_lines.GetCount() == 4 && late->m_vScrollMax == 0);
  ASSERT_TRUE(TypeParam::create(*late, this->parent));
  kqtest::TextOutRecorder recorder;
  const auto drawn = recorder.repaint(late->GetSafeHwnd());
  ASSERT_GE(drawn.size(), 2u);
  EXPECT_TRUE(drawn[0].text == "three" && drawn[1].text == "four");
  ::DestroyWindow(late->GetSafeHwnd());
  TypeParam::release(late);
}

namespace {
// A scroll table row: message, request code / key (| kCtrl) / wheel rotation, thumb, and the view's line and
// column after it (kEnd - n: n before the end). kSetWheel sets `arg` lines and `thumb` characters a notch.
constexpr UINT V = WM_VSCROLL, H = WM_HSCROLL, K = WM_KEYDOWN, W = WM_MOUSEWHEEL, T = WM_MOUSEHWHEEL,
               kSetWheel = WM_APP;
constexpr int kCtrl = 0x10000, kEnd = 1 << 20, E = kEnd, kPage = static_cast<int>(WHEEL_PAGESCROLL);
struct Request {
  UINT message;
  int arg;
  UINT thumb;
  int v, h;
};
// 101 lines, 20 x 40 shown: pages of 20 lines and 5 columns. The thumb moves only when released; keys by
// line, column, page, Home / End (Ctrl: lines); the wheel by its setting, partial notches adding up.
// clang-format off
constexpr Request kRequests[] = {
    {V, SB_TOP, 0, 0, 0}, {V, SB_LINEUP, 0, 0, 0}, {V, SB_PAGEUP, 0, 0, 0}, {V, SB_LINEDOWN, 0, 1, 0},
    {V, SB_PAGEDOWN, 0, 21, 0}, {V, SB_LINEUP, 0, 20, 0}, {V, SB_THUMBTRACK, 70, 20, 0},
    {V, SB_ENDSCROLL, 70, 20, 0}, {V, SB_THUMBPOSITION, 70, 70, 0}, {V, SB_PAGEDOWN, 0, E, 0},
    {V, SB_LINEDOWN, 0, E, 0}, {V, SB_PAGEDOWN, 0, E, 0}, {V, SB_BOTTOM, 0, E, 0},
    {V, SB_PAGEUP, 0, E - 20, 0}, {V, SB_TOP, 0, 0, 0}, {V, SB_THUMBPOSITION, 200, E, 0},
    {H, SB_LINELEFT, 0, E, 0}, {H, SB_PAGELEFT, 0, E, 0}, {H, SB_LEFT, 0, E, 0}, {H, SB_LINERIGHT, 0, E, 1},
    {H, SB_PAGERIGHT, 0, E, 6}, {H, SB_THUMBTRACK, 30, E, 6}, {H, SB_THUMBPOSITION, 30, E, 30},
    {H, SB_RIGHT, 0, E, E}, {H, SB_LINERIGHT, 0, E, E}, {H, SB_PAGERIGHT, 0, E, E},
    {H, SB_PAGELEFT, 0, E, E - 5}, {H, SB_LEFT, 0, E, 0}, {V, SB_THUMBPOSITION, 20, 20, 0},
    {H, SB_THUMBPOSITION, 5, 20, 5}, {K, VK_DOWN, 0, 21, 5}, {K, VK_UP, 0, 20, 5}, {K, VK_NEXT, 0, 40, 5},
    {K, VK_PRIOR, 0, 20, 5}, {K, VK_PRIOR, 0, 0, 5}, {K, VK_UP, 0, 0, 5}, {K, VK_RIGHT, 0, 0, 6},
    {K, VK_LEFT, 0, 0, 5}, {K, VK_END, 0, 0, E}, {K, VK_END | kCtrl, 0, E, E}, {K, VK_HOME, 0, E, 0},
    {K, VK_RIGHT, 0, E, 1}, {K, VK_HOME | kCtrl, 0, 0, 1}, {K, 'X', 0, 0, 1}, {K, VK_RETURN, 0, 0, 1},
    {K, 'C' | kCtrl, 0, 0, 1}, {kSetWheel, 3, 2, 0, 1}, {V, SB_THUMBPOSITION, 20, 20, 1}, {W, -120, 0, 23, 1},
    {W, 240, 0, 17, 1}, {W, -30, 0, 17, 1}, {W, -30, 0, 18, 1}, {W, -30, 0, 19, 1}, {W, -30, 0, 20, 1},
    {W, -120 * 40, 0, E, 1}, {T, 120, 0, E, 3}, {T, -60, 0, E, 2}, {kSetWheel, kPage, 2, E, 2},
    {W, 120, 0, E - 20, 2}, {W, -240, 0, E, 2}, {kSetWheel, 0, 0, E, 2}, {W, -120, 0, E, 2},
    {T, -120, 0, E, 2}};
// clang-format on
} // namespace

// Every scroll request, key and wheel message in one walk: the position after each, in the fields and bars,
// and one bar update per request that moves. The plain classes ignore keys and wheel (then put in place).
TYPED_TEST(TextView, EveryScrollRequestKeyAndWheelMessage) {
  auto& w = *this->window;
  const HWND hwnd = this->hwnd;
  const int lh = this->lh;
  WheelSettings saved;
  this->addLines(100); // 101 lines with the current one
  // A few pixels more than 20 lines and 40 columns: ranges and pages count whole lines and columns.
  SetClientSize(hwnd, 40 * this->cw + 3, 20 * lh + 5);
  this->send(WM_VSCROLL, SB_TOP);
  kqtest::Settle(hwnd);
  const int vMax = w.m_vScrollMax, hMax = w.m_hScrollMax;
  ASSERT_TRUE(vMax == 81 && hMax == TypeParam::width - 40) << vMax << ", " << hMax;
  int low = -1, high = -1;
  ::GetScrollRange(hwnd, SB_VERT, &low, &high);
  EXPECT_TRUE(low == 0 && high == vMax) << low << ".." << high;

  // At the top and left nothing is painted; one line down paints the uncovered rows at once.
  kqtest::TextOutRecorder recorder;
  this->send(WM_VSCROLL, SB_LINEUP);
  this->send(WM_HSCROLL, SB_LINELEFT);
  kqtest::Settle(hwnd);
  EXPECT_TRUE(recorder.take().empty());
  this->send(WM_VSCROLL, SB_LINEDOWN);
  const auto drawn = recorder.take();
  ASSERT_EQ(drawn.size(), 3u);
  for (int i = 0; i < 3; ++i)
    EXPECT_TRUE(drawn[i].text == "line " + std::to_string(19 + i) && drawn[i].y == (18 + i) * lh) << i;

  kqtest::ScrollBarCounter bars;
  ASSERT_TRUE(bars.installed());
  int v = w.m_vScrollPos, h = w.m_hScrollPos;
  for (size_t i = 0; i < std::size(kRequests); ++i) {
    const Request& r = kRequests[i];
    const int wantV = r.v > kEnd / 2 ? vMax - (kEnd - r.v) : r.v,
              wantH = r.h > kEnd / 2 ? hMax - (kEnd - r.h) : r.h;
    bars.take();
    if (r.message == kSetWheel)
      WheelSettings::set(static_cast<UINT>(r.arg), r.thumb);
    else if (r.message == K)
      Key(hwnd, static_cast<UINT>(r.arg & ~kCtrl), (r.arg & kCtrl) != 0);
    else if (r.message == W || r.message == T)
      ::SendMessageA(hwnd, r.message, MAKEWPARAM(0, r.arg), MAKELPARAM(50, 50));
    else
      this->send(r.message, static_cast<UINT>(r.arg), r.thumb);
    if (!TypeParam::optIn && (r.message == K || r.message == W || r.message == T)) {
      EXPECT_TRUE(w.m_vScrollPos == v && w.m_hScrollPos == h && bars.take() == 0) << "row " << i;
      this->send(WM_VSCROLL, SB_THUMBPOSITION, static_cast<UINT>(wantV));
      this->send(WM_HSCROLL, SB_THUMBPOSITION, static_cast<UINT>(wantH));
    } else { // the pixels moved by the units scrolled
      EXPECT_TRUE(bars.dx == (h - wantH) * w.m_charWidth && bars.dy == (v - wantV) * lh) << "row " << i;
      EXPECT_EQ(bars.take(), (wantV != v) + (wantH != h)) << "row " << i;
    }
    EXPECT_TRUE(w.m_vScrollPos == wantV && ::GetScrollPos(hwnd, SB_VERT) == wantV) << "row " << i;
    EXPECT_TRUE(w.m_hScrollPos == wantH && ::GetScrollPos(hwnd, SB_HORZ) == wantH) << "row " << i;
    v = wantV;
    h = wantH;
  }
  if constexpr (std::is_same_v<TypeParam, kqtest::FastExKind>) { // the keys are not taken as input
    EXPECT_TRUE(w.m_input.IsEmpty());
  }
  // Less than a line high and fewer than eight columns wide: pages of 1.
  SetClientSize(hwnd, 20, lh - 1);
  ASSERT_EQ(w.m_clientWidth, 20);
  for (const UINT message : {WM_VSCROLL, WM_HSCROLL}) {
    this->send(message, SB_TOP);
    this->send(message, SB_PAGEDOWN);
  }
  EXPECT_TRUE(w.m_vScrollPos == 1 && w.m_hScrollPos == 1) << w.m_vScrollPos << ", " << w.m_hScrollPos;
}

// The host's copy functions on every window; on the opt-in ones also Ctrl+C, the commands, the context menu
// (at the click, or at the client's corner from the keyboard) and a click that focuses and captures.
TYPED_TEST(TextView, CopiesThePageOrEveryLineAsCrLfText) {
  auto& w = *this->window;
  const HWND hwnd = this->hwnd;
  const bool optIn = TypeParam::optIn;
  this->scrolledView(100, 20, 5); // lines 20 to 29 shown
  const std::string none = "<no text>";
  ClipboardText(true);
  Key(hwnd, 'C');
  EXPECT_EQ(ClipboardText(), none);
  Key(hwnd, 'C', true);
  EXPECT_EQ(ClipboardText(), optIn ? CrLfLines(20, 30) : none);
  ::SendMessageA(hwnd, WM_COMMAND, ID_KQ_COPY_ALL, 0);
  EXPECT_EQ(ClipboardText(), optIn ? CrLfLines(0, 100) : none);
  ::SendMessageA(hwnd, WM_COMMAND, ID_EDIT_COPY, 0);
  EXPECT_EQ(ClipboardText(), optIn ? CrLfLines(20, 30) : none);
  ::SetFocus(this->parent);
  ::SendMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  EXPECT_TRUE((::GetFocus() == hwnd) == optIn && (::GetCapture() == hwnd) == optIn);
  ::SendMessageA(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  if (!optIn) { // no viewer command or dialog either
    for (const UINT id : {ID_EDIT_FIND, ID_FILE_SAVE_AS, ID_EDIT_SELECT_ALL})
      ::SendMessageA(hwnd, WM_COMMAND, id, 0);
    Key(hwnd, 'F', true);
    EXPECT_EQ(kqtest::FindDialog(::GetCurrentThreadId()), nullptr);
  }

  RECT rect = {};
  ::GetWindowRect(hwnd, &rect);
  POINT client = {0, 0};
  ::ClientToScreen(hwnd, &client);
  const struct {
    POINT at, menuAt;
    char choice;
    std::string copied;
  } menus[] = {{{rect.left + 30, rect.top + 30}, {rect.left + 30, rect.top + 30}, 'a', CrLfLines(0, 100)},
               {{-1, -1}, client, 'c', CrLfLines(20, 30)},
               {{-1, rect.top + 30}, {0, rect.top + 30}, 'a', CrLfLines(0, 100)}}; // at the screen's edge
  for (const auto& m : menus) {
    ClipboardText(true);
    const kqtest::ShownMenu menu = kqtest::ContextMenu(hwnd, m.at, m.choice);
    const std::vector<std::string> expectedItems{
        "&Copy\tCtrl+C",         "Copy &all", "Select a&ll\tCtrl+A", "", "&Find...\tCtrl+F",
        "Find &next\tF3 (grey)", "",          "Sa&ve as..."}; // nothing searched yet
    EXPECT_EQ(menu.items, optIn ? expectedItems : std::vector<std::string>{});
    EXPECT_TRUE(!optIn || (menu.at.x == m.menuAt.x && menu.at.y == m.menuAt.y))
        << menu.at.x << ", " << menu.at.y << " for " << m.menuAt.x << ", " << m.menuAt.y;
    EXPECT_EQ(ClipboardText(), optIn ? m.copied : none);
  }

  SetClientSize(hwnd, 40 * this->cw, 10 * this->lh + 1); // a partly visible last row is copied
  EXPECT_EQ(KQCopyVisible(w), 1);
  EXPECT_EQ(ClipboardText(), CrLfLines(20, 31));
  w.Display("tail", 4); // so is a current line with text
  EXPECT_EQ(KQCopyAll(w), 1);
  EXPECT_EQ(ClipboardText(), CrLfLines(0, 100) + "tail\r\n");
  // No memory for the clipboard's block, the block refused, or the clipboard held open by someone else:
  // 0, nothing thrown.
  const struct {
    const char *dll, *name;
    void* replacement;
  } failures[] = {{"kernel32.dll", "GlobalAlloc", kqtest::FailingCall<decltype(::GlobalAlloc)>()},
                  {"kernel32.dll", "GlobalLock", kqtest::FailingCall<decltype(::GlobalLock)>()},
                  {"user32.dll", "SetClipboardData", kqtest::FailingCall<decltype(::SetClipboardData)>()}};
  for (const auto& f : failures) {
    kqtest::IatHook failing("kqmfc.dll", f.dll, f.name, f.replacement);
    ASSERT_TRUE(failing.installed()) << f.name;
    EXPECT_TRUE(KQCopyVisible(w) == 0 && KQCopyAll(w) == 0) << f.name;
  }
  ASSERT_TRUE(::OpenClipboard(nullptr));
  EXPECT_EQ(KQCopyAll(w), 0);
  ::CloseClipboard();
  w.OnClearBuffer();
  EXPECT_EQ(KQCopyAll(w), 1);
  EXPECT_EQ(ClipboardText(), "");
}

// Top-level with Close greyed, or a borderless child at its rectangle, no system menu; both painted at once.
TEST_F(OutputWindowTest, TopLevelWithCloseGreyedOrAChildWithoutASystemMenuBothPaintedAtOnce) {
  auto* top = new COutputWindow;
  ASSERT_EQ(top->Create("Output"), 1);
  const HWND topHwnd = top->GetSafeHwnd();
  EXPECT_TRUE(::IsWindowVisible(topHwnd) && !::GetUpdateRect(topHwnd, nullptr, FALSE));
  EXPECT_EQ(::GetWindowLongA(topHwnd, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
  HMENU menu = ::GetSystemMenu(topHwnd, FALSE);
  ASSERT_NE(menu, nullptr);
  const UINT close = ::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND);
  EXPECT_TRUE(close != static_cast<UINT>(-1) && (close & MF_GRAYED));
  EXPECT_FALSE(::GetMenuState(menu, SC_MINIMIZE, MF_BYCOMMAND) & MF_GRAYED);
  ::DestroyWindow(topHwnd); // the frame deletes itself

  EXPECT_TRUE((::GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) && !::GetUpdateRect(hwnd, nullptr, FALSE));
  RECT placed = {};
  ::GetWindowRect(hwnd, &placed);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_TRUE(placed.left == 10 && placed.top == 20 && placed.right == 410 && placed.bottom == 320);
  EXPECT_EQ(::GetWindowLongA(hwnd, GWL_EXSTYLE) & (WS_EX_DLGMODALFRAME | WS_EX_CLIENTEDGE), 0); // no border
  EXPECT_EQ(::GetSystemMenu(hwnd, FALSE), nullptr);
  // A child needs a parent, and no window can be made: 0, the frame deleted with the window not made.
  EXPECT_EQ((new COutputWindow)->Create("orphan", RECT{0, 0, 10, 10}, nullptr), 0);
  kqtest::IatHook noWindow("kqafx.dll", "user32.dll", "CreateWindowExA",
                           kqtest::FailingCall<decltype(::CreateWindowExA)>());
  ASSERT_TRUE(noWindow.installed());
  EXPECT_EQ((new COutputWindow)->Create("none"), 0);
}

// A view at the bottom follows new text, a scrolled-up one stays; text that adds no line sets no bar.
TEST_F(OutputWindowTest, AViewAtTheBottomFollowsNewTextAScrolledUpViewStays) {
  kqtest::SetClientSize(hwnd, 50 * cw, 10 * lh);
  addLines(30);
  addLines(5);
  EXPECT_TRUE(window->m_vScrollPos == 26 && ::GetScrollPos(hwnd, SB_VERT) == 26);
  send(WM_VSCROLL, SB_THUMBPOSITION, 24);
  addLines(5);
  EXPECT_TRUE(window->m_vScrollPos == 24 && ::GetScrollPos(hwnd, SB_VERT) == 24);
  send(WM_VSCROLL, SB_BOTTOM);
  kqtest::ScrollBarCounter bars;
  ASSERT_TRUE(bars.installed());
  window->Display("partial");
  EXPECT_TRUE(window->m_vScrollPos == 31 && bars.take() == 0);
  window->Display("\n");
  EXPECT_TRUE(window->m_vScrollPos == 32 && ::GetScrollPos(hwnd, SB_VERT) == 32 && bars.take() >= 1);
}

// Lines up to their NUL, CR LF, one more, into a truncated file shared with others; bad paths give 0.
TEST_F(OutputWindowTest, SaveAsWritesEachLineUpToItsNulWithCrLfThenOneMore) {
  const std::string path = kqtest::TempPath("save.txt");
  const std::string text("a\tb\r\nx\0y\n\0z\nlast", 17), longer(100, '#');
  window->Display(text.data(), static_cast<int>(text.size()));
  HANDLE other = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written = 0; // a longer file before: truncated
  ASSERT_TRUE(::WriteFile(other, longer.data(), 100, &written, nullptr));
  EXPECT_EQ(window->SaveAs(path.c_str()), 1);
  ::CloseHandle(other);
  EXPECT_EQ(kqtest::FileBytes(path), "a       b\r\nx\r\n\r\nlast\r\n\r\n");
  ::DeleteFileA(path.c_str());
  const std::string missing = kqtest::TempPath("no-such-dir") + "\\out.txt";
  EXPECT_EQ(window->SaveAs(missing.c_str()), 0);
  EXPECT_EQ(::GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(window->SaveAs(path.substr(0, path.rfind('\\') + 1).c_str()), 0);
}

namespace {
std::vector<int> minMaxRequests;
LRESULT CALLBACK recordMinMax(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_MINMAX)
    minMaxRequests.push_back(LOWORD(lParam));
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
} // namespace

// The fast display window's input queue, last returned first, NULs kept, none added, window or not; then
// an empty queue shows the last page (a minimised window restored and minimised again), pending input not.
TEST(FastDisplay, InputComesBackLastReturnedFirstAndAnEmptyQueueShowsTheLastPage) {
  CFastDisplayWnd window;
  char buffer[10] = {'#', '#'};
  auto give = [&](const std::string& text, int count) {
    return window.ReturnInput(const_cast<char*>(text.data()), count);
  };
  auto pending = [&] { return std::string(window.m_input.GetString(), window.m_input.GetLength()); };
  EXPECT_EQ(window.GetInput(buffer, 4), 0);
  EXPECT_TRUE(give("b", 1) == 1 && give("a", 1) == 1 && give("xyz", 0) == 1 && give("xyz", -4) == 1);
  EXPECT_EQ(pending(), "ab");
  EXPECT_TRUE(window.GetInput(buffer, 0) == 0 && window.GetInput(buffer, -1) == 0);
  EXPECT_TRUE(window.GetInput(buffer, 1) == 1 && std::string(buffer, 2) == "a#");
  give(std::string("c\0d", 3), 3);
  EXPECT_TRUE(window.GetInput(buffer, 3) == 3 && std::string(buffer, 3) == std::string("c\0d", 3));
  EXPECT_EQ(pending(), "b");
  EXPECT_TRUE(window.FlushInput() == 1 && window.m_input.IsEmpty());
  give("zz", 2);
  window.OnClearBuffer();
  EXPECT_TRUE(window.m_input.IsEmpty());

  ASSERT_TRUE(window.CreateEx(0, nullptr, "fast", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL,
                              0, 0, 400, 300, nullptr, nullptr));
  const std::string text(100, '\n');
  window.Display(text.data(), 100);
  kqtest::SetClientSize(window.GetSafeHwnd(), 40 * window.m_charWidth, 10 * window.m_lineHeight);
  EXPECT_EQ(window.m_vScrollPos, 0); // new text never moves the view
  give("k", 1);
  EXPECT_TRUE(window.GetInput(buffer, 4) == 1 && window.m_vScrollPos == 0);
  EXPECT_EQ(window.GetInput(buffer, 4), 0);
  EXPECT_TRUE(window.m_vScrollPos == 101 - 10 && ::GetScrollPos(window.GetSafeHwnd(), SB_VERT) == 101 - 10);
  ::ShowWindow(window.GetSafeHwnd(), SW_MINIMIZE);
  kqtest::PumpPending();
  ASSERT_TRUE(window.IsIconic());
  HHOOK hook = ::SetWindowsHookExA(WH_CBT, recordMinMax, nullptr, ::GetCurrentThreadId());
  give("k", 1);
  EXPECT_EQ(window.GetInput(buffer, 4), 1); // input pending: no restore
  EXPECT_EQ(window.GetInput(buffer, 4), 0);
  ::UnhookWindowsHookEx(hook);
  ASSERT_EQ(minMaxRequests.size(), 2u);
  EXPECT_TRUE(minMaxRequests[0] != SW_MINIMIZE && minMaxRequests[1] == SW_MINIMIZE); // restored, minimised
  EXPECT_TRUE(window.IsIconic());
  // The exported scroll rule.
  EXPECT_TRUE(CFastDisplayWnd::compute_scroll_pos_delta(SB_THUMBPOSITION, 7, 5, 10, 1, 8) == 2 &&
              CFastDisplayWnd::compute_scroll_pos_delta(SB_LINEDOWN, 0, 12, 10, 1, 8) == -2);
  window.DestroyWindow();
}

namespace {
std::atomic<int> beeps{0};
std::atomic<UINT> lastBeep{0xFFFFFFFF};
BOOL WINAPI countBeep(UINT type) {
  ++beeps;
  lastBeep = type;
  return TRUE; // silent
}
std::string text(const CString& s) {
  return std::string(s.GetString(), static_cast<size_t>(s.GetLength()));
}
} // namespace

// One dialog opened four times (OK empty, OK typed, OK with no edit control, Cancel): one beep per opening.
TEST(InputDialog, ResultAfterOkAndCancelOneBeepPerOpeningAndTheEditControl) {
  kqtest::IatHook hook("kqmfc.dll", "user32.dll", "MessageBeep", reinterpret_cast<void*>(&countBeep));
  ASSERT_TRUE(hook.installed()) << "kqmfc.dll imports MessageBeep by name";
  HWND owner = ::CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                 nullptr, nullptr, nullptr, nullptr);
  CString result("old");
  CInputDlg dialog(CWnd::FromHandle(owner), result);
  const struct {
    WORD command;
    const char* typed;
    const char* expected;
    bool editGone; // the edit control's id changed before OK: no text to read
  } cases[] = {{IDOK, "", "\n", false},
               {IDOK, "x", "x\n", false},
               {IDOK, "lost", "\n", true},
               {IDCANCEL, "typed", "", false}};
  for (const auto& c : cases) {
    beeps = 0;
    const std::string before = text(result);
    std::string during;
    HWND editSeen = nullptr, editExpected = nullptr, ownerSeen = nullptr;
    const auto look = [&](HWND dialogWindow) {
      during = text(result);
      editSeen = dialog.EditCtl().GetSafeHwnd();
      editExpected = ::GetDlgItem(dialogWindow, IDC_INPUT_EDIT);
      ownerSeen = ::GetWindow(dialogWindow, GW_OWNER);
      if (c.editGone)
        ::SetWindowLongPtrA(editExpected, GWLP_ID, 0);
    };
    {
      kqtest::DialogWatcher watcher(
          {.editId = IDC_INPUT_EDIT, .editText = c.typed, .prepare = look, .command = c.command});
      EXPECT_EQ(dialog.DoModal(), c.command);
      EXPECT_TRUE(watcher.Result().found);
    }
    EXPECT_EQ(text(result), c.expected);
    EXPECT_EQ(during, before); // not written while the dialog runs
    EXPECT_TRUE(beeps == 1 && lastBeep == static_cast<UINT>(MB_OK));
    EXPECT_TRUE(editSeen != nullptr && editSeen == editExpected && ownerSeen == owner);
  }
  ::DestroyWindow(owner);
  kqtest::PumpPending();
}
