// The opt-in windows as log viewers under Wine, through real messages: selecting, copying the selection,
// the find and save dialogs, the commands' states and the highlight painted.
#include "window_test_util.h" // kqwindowsex.h, the dialog watcher and the import hook

#include "window_capture.h"

#include <gtest/gtest.h>

#include <afxdlgs.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <string>
#include <vector>

namespace {
FILE* __cdecl noFile(const char*, const char*, int) {
  errno = EACCES;
  return nullptr;
}

// The device contexts the framework takes and gives back: each given back with the font it came with (a
// font left selected could not be deleted).
std::atomic<int> dcsTaken{0}, dcsBack{0}, fontsLeft{0};
void checkFont(HDC dc) {
  fontsLeft += ::GetCurrentObject(dc, OBJ_FONT) != ::GetStockObject(SYSTEM_FONT);
}
HDC WINAPI takeDC(HWND window) {
  return ++dcsTaken, ::GetDC(window);
}
int WINAPI giveDC(HWND window, HDC dc) {
  return ++dcsBack, checkFont(dc), ::ReleaseDC(window, dc);
}
BOOL WINAPI endPaint(HWND window, const PAINTSTRUCT* ps) {
  return checkFont(ps->hdc), ::EndPaint(window, ps);
}

// Records what the window's ON_UPDATE_COMMAND_UI handler decides.
struct RecordedState : CCmdUI {
  int enabled = -1; // -1: no handler ran
  void Enable(BOOL on) override { enabled = on ? 1 : 0; }
};

template <class Kind> class LogViewer : public kqtest::TextWindowTest<Kind> {
protected:
  // Lines "line 0" .. "line <count - 1>" in a view of 40 columns by 10 lines at its first line.
  void SetUp() override {
    kqtest::TextWindowTest<Kind>::SetUp();
    if (this->window != nullptr)
      this->scrolledView(100, 0, 0);
  }
  // A client point in the middle of line `line`'s row, `column` characters in, in the current view.
  LPARAM at(long long line, int column) {
    const auto& w = *this->window;
    return MAKELPARAM((column - w.m_hScrollPos) * this->cw + 1,
                      (line - w.m_vScrollPos) * this->lh + this->lh / 2);
  }
  void mouse(UINT message, LPARAM point, WPARAM flags = MK_LBUTTON) {
    ::SendMessageA(this->hwnd, message, flags, point);
  }
  void press(UINT vk, bool ctrl = false, bool shift = false) { kqtest::Key(this->hwnd, vk, ctrl, shift); }
  void expectSelection(KQTextPosition anchor, KQTextPosition caret, const char* step) {
    const auto [a, c] = this->window->GetSelection();
    EXPECT_TRUE(a == anchor && c == caret)
        << step << ": " << a.line << ":" << a.column << "-" << c.line << ":" << c.column;
  }
  int commandState(UINT id) {
    RecordedState state;
    state.m_nID = id;
    this->window->OnCmdMsg(id, CN_UPDATE_COMMAND_UI, &state, nullptr);
    return state.enabled;
  }
  static HWND findDialog() { return kqtest::FindDialog(::GetCurrentThreadId()); }
};
using Kinds = testing::Types<kqtest::OutputExKind, kqtest::FastExKind>;
TYPED_TEST_SUITE(LogViewer, Kinds);

// Press, drag, Shift+click, double-click, Ctrl+A, Escape, a drag past the top, and Copy of the selection.
TYPED_TEST(LogViewer, SelectsWithTheMouseAndTheKeysAndCopiesExactlyTheSelection) {
  auto& w = *this->window;
  const kqtest::IatHook hooks[] = {
      {"kqafx.dll", "user32.dll", "GetDC", reinterpret_cast<void*>(&takeDC)},
      {"kqafx.dll", "user32.dll", "ReleaseDC", reinterpret_cast<void*>(&giveDC)},
      {"kqafx.dll", "user32.dll", "EndPaint", reinterpret_cast<void*>(&endPaint)}};
  ::SendMessageA(this->hwnd, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 1), 0); // columns count from the view's
  {
    // Without the text's extents the cells of the average width are hit.
    kqtest::IatHook unmeasured("kqmfc.dll", "gdi32.dll", "GetTextExtentExPointA",
                               kqtest::FailingCall<decltype(::GetTextExtentExPointA)>());
    ASSERT_TRUE(unmeasured.installed());
    this->mouse(WM_LBUTTONDOWN, this->at(1, 2));
  }
  // Half the view's third character: the caret goes after it.
  const LPARAM half = MAKELPARAM(5 * this->cw / 2, 3 * this->lh + this->lh / 2);
  this->mouse(WM_MOUSEMOVE, half);
  this->mouse(WM_LBUTTONUP, half, 0);
  ::SendMessageA(this->hwnd, WM_HSCROLL, MAKEWPARAM(SB_LEFT, 0), 0);
  EXPECT_NE(::GetCapture(), this->hwnd);
  this->expectSelection({1, 2}, {3, 4}, "drag");
  this->press('C', true);
  EXPECT_EQ(kqtest::ClipboardText(), "ne 1\r\nline 2\r\nline");
  kqtest::Settle(this->hwnd);
  EXPECT_TRUE(dcsTaken > 0 && dcsBack == dcsTaken && fontsLeft == 0) << dcsTaken << dcsBack << fontsLeft;
  this->mouse(WM_LBUTTONDOWN, this->at(5, 30), MK_LBUTTON | MK_SHIFT); // beyond the end: "line 5|"
  this->mouse(WM_LBUTTONUP, this->at(5, 30), MK_SHIFT);
  this->expectSelection({1, 2}, {5, 6}, "shift+click");
  this->mouse(WM_LBUTTONDBLCLK, this->at(7, 2));
  this->expectSelection({7, 0}, {7, 4}, "double-click");
  ::SendMessageA(this->hwnd, WM_COMMAND, ID_EDIT_COPY, 0);
  EXPECT_EQ(kqtest::ClipboardText(), "line");
  this->press(VK_ESCAPE);
  EXPECT_TRUE(w.GetSelection().empty());
  this->press('A', true);
  this->expectSelection({0, 0}, {100, 0}, "select all"); // the empty current line is the end
  this->mouse(WM_LBUTTONDOWN, this->at(4, 1));
  this->mouse(WM_LBUTTONUP, this->at(4, 1), 0);
  EXPECT_TRUE(w.GetSelection().empty()); // a plain click clears

  // A drag that leaves the client area above: the view follows one line per move, the caret stays at
  // its top line.
  ::SendMessageA(this->hwnd, WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 20), 0);
  this->mouse(WM_LBUTTONDOWN, this->at(22, 1));
  this->mouse(WM_MOUSEMOVE, MAKELPARAM(5, -30));
  this->mouse(WM_MOUSEMOVE, MAKELPARAM(5, -30));
  ::SendMessageA(this->hwnd, WM_TIMER, 0x4B51, 0); // the drag's timer: one more line while outside
  EXPECT_EQ(w.m_vScrollPos, 17);
  EXPECT_EQ(w.GetSelection().caret.line, 17);
  EXPECT_EQ(w.GetSelection().anchor, (KQTextPosition{22, 1}));
  this->mouse(WM_LBUTTONUP, MAKELPARAM(5, -30), 0);
  ::SendMessageA(this->hwnd, WM_TIMER, 0x4B51, 0); // the drag is over
  EXPECT_EQ(w.m_vScrollPos, 17);

  // In a full window the text moves up under the view and the selection alike.
  this->addLines(TypeParam::cap);
  ::SendMessageA(this->hwnd, WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
  this->mouse(WM_LBUTTONDOWN, this->at(2, 0));
  this->mouse(WM_MOUSEMOVE, this->at(2, 30));
  this->mouse(WM_LBUTTONUP, this->at(2, 30), 0);
  this->expectSelection({2, 0}, {2, 6}, "full"); // "line 4": 102 lines went
  w.Display("x\n", 2);
  this->press('C', true);
  EXPECT_EQ(kqtest::ClipboardText(), "line 5");
  w.OnClearBuffer();
  EXPECT_TRUE(w.GetSelection().empty());
}

// The find dialog (one per window) and its options, F3, Shift+F3, matches shown, a miss keeps the selection.
TYPED_TEST(LogViewer, FindsThroughTheDialogAndF3) {
  auto& w = *this->window;
  const std::string needle = std::string(70, ' ') + "needle far right\n"; // line 100
  w.Display(needle.data(), static_cast<int>(needle.size()));
  EXPECT_EQ(this->commandState(ID_EDIT_REPEAT), 0); // nothing searched yet
  this->press('F', true);
  const HWND dialog = this->findDialog();
  ASSERT_NE(dialog, nullptr);
  this->press('F', true);
  EXPECT_EQ(this->findDialog(), dialog); // the same dialog
  const struct {
    const char* what;
    bool matchCase, wholeWord, up;
    KQTextPosition expected; // {-1, -1}: no match, selection kept
  } cases[] = {{"line 4", false, false, false, {4, 0}},    {"line 4", false, true, false, {-1, -1}},
               {"line 4", false, false, false, {40, 0}},   {"LINE 4", true, false, false, {-1, -1}},
               {"line 4", false, true, true, {4, 0}},      {"line 4", false, false, true, {-1, -1}},
               {"NEEDLE", false, false, false, {100, 70}}, {"line 9", false, false, false, {-1, -1}}};
  ::SendMessageA(this->hwnd, WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0);
  for (const auto& c : cases) {
    const KQTextSelection before = w.GetSelection();
    ::SetDlgItemTextA(dialog, 0x480 /* edt1 */, c.what);
    ::CheckDlgButton(dialog, 0x411 /* chx2: match case */, c.matchCase ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(dialog, 0x410 /* chx1: whole word */, c.wholeWord ? BST_CHECKED : BST_UNCHECKED);
    ::CheckRadioButton(dialog, 0x420, 0x421, c.up ? 0x420 : 0x421);
    ::SendMessageA(dialog, WM_COMMAND, IDOK, 0);
    const auto [line, column] = c.expected;
    const bool found = line >= 0;
    this->expectSelection(
        found ? c.expected : before.anchor,
        found ? KQTextPosition{line, column + static_cast<int>(strlen(c.what))} : before.caret, c.what);
    EXPECT_TRUE(!found || (w.m_vScrollPos <= line && line < w.m_vScrollPos + 10 && w.m_hScrollPos <= column &&
                           column + 6 <= w.m_hScrollPos + 40))
        << c.what;
  }
  EXPECT_EQ(w.m_hScrollPos, 70 + 6 - 40); // the match's end at the view's right edge
  ::SendMessageA(this->hwnd, WM_COMMAND, ID_EDIT_SELECT_ALL, 0);
  this->press(VK_ESCAPE);
  const long long top = w.m_vScrollPos; // lines 90 to 99 hold "line 9"
  ASSERT_GE(top, 91);
  this->press(VK_F3); // from the top of the view
  this->expectSelection({top, 0}, {top, 6}, "F3");
  this->press(VK_F3, false, true);
  this->expectSelection({top - 1, 0}, {top - 1, 6}, "Shift+F3");
  EXPECT_EQ(this->commandState(ID_EDIT_REPEAT), 1);
  ::SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
  kqtest::Settle(this->hwnd);
  EXPECT_FALSE(::IsWindow(dialog));
  ::SendMessageA(this->hwnd, WM_COMMAND, ID_EDIT_FIND, 0); // a new one, starting with the selection
  const HWND again = this->findDialog();
  ASSERT_NE(again, nullptr);
  char text[32] = {};
  ::GetDlgItemTextA(again, 0x480, text, sizeof(text));
  EXPECT_STREQ(text, "line 9");
}

// Save as through the dialog writes SaveAs's format; a file that cannot be opened is named in a box, why too.
TYPED_TEST(LogViewer, SavesThroughTheDialogAndReportsAFailure) {
  auto& w = *this->window;
  const std::string path = kqtest::TempPath("viewer save.txt");
  std::remove(path.c_str());
  const auto typePath = [&path](HWND dialog) { // the name box of either style of save dialog
    for (const int box : {0x47c /* cmb13 */, 0x480 /* edt1 */})
      ::SetDlgItemTextA(dialog, box, path.c_str());
  };
  for (const WORD answer : {IDCANCEL, IDOK}) { // Cancel writes nothing
    kqtest::DialogWatcher watcher({.prepare = typePath, .command = answer});
    ::SendMessageA(this->hwnd, WM_COMMAND, ID_FILE_SAVE_AS, 0);
    EXPECT_TRUE(watcher.Result().found);
    // the lines, the empty current line, then the end
    EXPECT_EQ(kqtest::FileBytes(path), answer == IDOK ? kqtest::CrLfLines(0, 100) + "\r\n\r\n" : "")
        << answer;
  }
  std::remove(path.c_str());
  kqtest::IatHook failing("kqmfc.dll", "msvcrt.dll", "_fsopen", reinterpret_cast<void*>(&noFile));
  ASSERT_TRUE(failing.installed());
  kqtest::DialogWatcher watcher({.prepare = typePath}, {});
  ::SendMessageA(this->hwnd, WM_COMMAND, ID_FILE_SAVE_AS, 0);
  EXPECT_EQ(watcher.Result().text,
            "The file " + path + " could not be written: " + std::strerror(EACCES) + ".");
  EXPECT_EQ(w.m_lines.GetCount(), 101);
}

// The commands' states, for menus and the context menu, and the selection painted in the highlight colours.
TYPED_TEST(LogViewer, CommandStatesAndTheHighlightPainted) {
  auto& w = *this->window;
  for (const UINT id : {ID_EDIT_COPY, ID_KQ_COPY_ALL, ID_EDIT_SELECT_ALL})
    EXPECT_EQ(this->commandState(id), 1) << id;
  w.OnClearBuffer();
  for (const UINT id : {ID_EDIT_COPY, ID_KQ_COPY_ALL, ID_EDIT_SELECT_ALL, ID_EDIT_REPEAT})
    EXPECT_EQ(this->commandState(id), 0) << id;
  const auto menu = kqtest::ContextMenu(this->hwnd, {-1, -1}, 0);
  EXPECT_TRUE(!menu.items.empty() && menu.items[0] == "&Copy\tCtrl+C (grey)"); // the context menu's too
  this->addLines(20);
  ::SendMessageA(this->hwnd, WM_VSCROLL, MAKEWPARAM(SB_TOP, 0), 0); // the output window followed the end
  this->mouse(WM_LBUTTONDOWN, this->at(1, 0));
  this->mouse(WM_MOUSEMOVE, this->at(1, 6));
  this->mouse(WM_LBUTTONUP, this->at(1, 6), 0);
  const kqshot::RgbImage image = kqshot::CaptureWindow(this->hwnd, false);
  const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
  const auto highlighted = [&](int row) {
    int count = 0;
    for (int y = row * this->lh; y < (row + 1) * this->lh; ++y)
      for (int x = 0; x < 6 * this->cw; ++x) {
        const std::uint8_t* p = &image.pixels[3 * (static_cast<size_t>(y) * image.width + x)];
        count += RGB(p[0], p[1], p[2]) == highlight;
      }
    return count;
  };
  EXPECT_GT(highlighted(1), 6 * this->cw); // the row's background
  EXPECT_EQ(highlighted(3), 0);
}
} // namespace
