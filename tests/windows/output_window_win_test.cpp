// What only COutputWindow does, on real windows under Wine: its two Create forms, the view following new
// text and SaveAs. (What both windows do: text_windows_win_test.cpp; under writers: stress_win_test.cpp.)
#include "window_test_util.h"

#include <gtest/gtest.h>

#include <string>

namespace {
class OutputWindowTest : public kqtest::TextWindowTest<kqtest::OutputKind> {};
} // namespace

TEST_F(OutputWindowTest, TopLevelWithCloseGreyedOrAChildWithoutASystemMenuBothPaintedAtOnce) {
  auto* top = new COutputWindow;
  ASSERT_EQ(top->Create("Output"), 1);
  const HWND topHwnd = top->GetSafeHwnd();
  EXPECT_TRUE(::IsWindowVisible(topHwnd));
  EXPECT_FALSE(::GetUpdateRect(topHwnd, nullptr, FALSE)); // painted before Create returned
  EXPECT_EQ(::GetWindowLongA(topHwnd, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
  HMENU menu = ::GetSystemMenu(topHwnd, FALSE);
  ASSERT_NE(menu, nullptr);
  const UINT close = ::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND);
  EXPECT_TRUE(close != static_cast<UINT>(-1) && (close & MF_GRAYED));
  EXPECT_FALSE(::GetMenuState(menu, SC_MINIMIZE, MF_BYCOMMAND) & MF_GRAYED);
  ::DestroyWindow(topHwnd); // the frame deletes itself

  EXPECT_TRUE(::GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD);
  EXPECT_FALSE(::GetUpdateRect(hwnd, nullptr, FALSE));
  RECT placed = {};
  ::GetWindowRect(hwnd, &placed);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_TRUE(placed.left == 10 && placed.top == 20 && placed.right == 410 && placed.bottom == 320);
  EXPECT_EQ(::GetSystemMenu(hwnd, FALSE), nullptr);
}

TEST_F(OutputWindowTest, AViewAtTheBottomFollowsNewTextAScrolledUpViewStays) {
  kqtest::SetClientSize(hwnd, 50 * cw, 10 * lh);
  addLines(30);
  addLines(5);
  EXPECT_TRUE(window->m_vScrollPos == 26 && ::GetScrollPos(hwnd, SB_VERT) == 26);
  send(WM_VSCROLL, SB_LINEUP);
  send(WM_VSCROLL, SB_LINEUP);
  addLines(5);
  EXPECT_TRUE(window->m_vScrollPos == 24 && ::GetScrollPos(hwnd, SB_VERT) == 24);
  // Text that adds no line keeps a bottom view there and sets no bar (nothing changes); a new line does.
  send(WM_VSCROLL, SB_BOTTOM);
  kqtest::ScrollPosCounter bars;
  ASSERT_TRUE(bars.installed());
  window->Display("partial");
  EXPECT_EQ(window->m_vScrollPos, 31);
  EXPECT_EQ(bars.take(), 0);
  window->Display("\n");
  EXPECT_TRUE(window->m_vScrollPos == 32 && ::GetScrollPos(hwnd, SB_VERT) == 32);
  EXPECT_GE(bars.take(), 1);
}

TEST_F(OutputWindowTest, SaveAsWritesEachLineUpToItsNulWithCrLfThenOneMore) {
  const std::string path = kqtest::TempPath("save.txt");
  ASSERT_EQ(window->SaveAs(path.c_str()), 1);
  EXPECT_EQ(kqtest::FileBytes(path), "\r\n\r\n"); // the empty current line, then the extra line end
  window->Display("abc\n");
  ASSERT_EQ(window->SaveAs(path.c_str()), 1);
  EXPECT_EQ(kqtest::FileBytes(path), "abc\r\n\r\n\r\n"); // the file was truncated first
  window->OnClearBuffer();
  const std::string text("a\tb\r\nx\0y\n\0z\nlast", 17);
  window->Display(text.data(), static_cast<int>(text.size()));
  // Another handle holding the file open for reading and writing does not stop SaveAs.
  HANDLE other = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  EXPECT_EQ(window->SaveAs(path.c_str()), 1);
  ::CloseHandle(other);
  EXPECT_EQ(kqtest::FileBytes(path), "a       b\r\nx\r\n\r\nlast\r\n\r\n");
  ::DeleteFileA(path.c_str());
  // Paths that cannot be opened: in a missing folder, and a folder.
  const std::string missing = kqtest::TempPath("no-such-dir") + "\\out.txt";
  EXPECT_EQ(window->SaveAs(missing.c_str()), 0);
  EXPECT_EQ(::GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(window->SaveAs(path.substr(0, path.rfind('\\') + 1).c_str()), 0);
}
