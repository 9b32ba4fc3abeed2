// What only COutputWindow does, on real windows under Wine: its two Create forms, the view following
// new text, and SaveAs. (What it shares with the fast display window: text_windows_win_test.cpp.)
#include "iat_hook.h"
#include "window_test_util.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

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

// Scroll-bar calls that the framework layer passes to the system.
int scrollBarCalls = 0;
int WINAPI countSetScrollPos(HWND window, int bar, int pos, BOOL redraw) {
  ++scrollBarCalls;
  return ::SetScrollPos(window, bar, pos, redraw);
}
BOOL WINAPI countSetScrollRange(HWND window, int bar, int low, int high, BOOL redraw) {
  ++scrollBarCalls;
  return ::SetScrollRange(window, bar, low, high, redraw);
}

// A child output window (see kqtest::OutputKind).
class OutputWindowTest : public kqtest::TextWindowTest<kqtest::OutputKind> {};
} // namespace

TEST_F(OutputWindowTest, TopLevelWithCloseGreyedOrAChildWithoutASystemMenu) {
  auto* top = new COutputWindow;
  ASSERT_EQ(top->Create("Output"), 1);
  const HWND topHwnd = top->GetSafeHwnd();
  EXPECT_TRUE(::IsWindowVisible(topHwnd));
  EXPECT_EQ(::GetParent(topHwnd), nullptr);
  EXPECT_EQ(::GetWindowLongA(topHwnd, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
  HMENU menu = ::GetSystemMenu(topHwnd, FALSE);
  ASSERT_NE(menu, nullptr);
  const UINT close = ::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND);
  ASSERT_NE(close, static_cast<UINT>(-1));
  EXPECT_TRUE(close & MF_GRAYED);
  EXPECT_FALSE(::GetMenuState(menu, SC_MINIMIZE, MF_BYCOMMAND) & MF_GRAYED);
  ::DestroyWindow(topHwnd); // the frame deletes itself

  EXPECT_EQ(::GetParent(hwnd), parent);
  EXPECT_TRUE(::GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD);
  EXPECT_TRUE(::IsWindowVisible(hwnd));
  RECT placed = {};
  ::GetWindowRect(hwnd, &placed);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_TRUE(placed.left == 10 && placed.top == 20 && placed.right == 410 && placed.bottom == 320);
  EXPECT_EQ(::GetSystemMenu(hwnd, FALSE), nullptr);
}

TEST_F(OutputWindowTest, AViewAtTheBottomFollowsNewTextAScrolledUpViewStays) {
  kqtest::SetClientSize(hwnd, 50 * cw, 10 * lh);
  addLines(30);
  EXPECT_EQ(window->m_vScrollMax, 31 - 10);
  EXPECT_EQ(window->m_vScrollPos, 21);
  addLines(5);
  EXPECT_EQ(window->m_vScrollPos, 26);
  EXPECT_EQ(::GetScrollPos(hwnd, SB_VERT), 26);

  send(WM_VSCROLL, SB_LINEUP);
  send(WM_VSCROLL, SB_LINEUP);
  ASSERT_EQ(window->m_vScrollPos, 24);
  addLines(5);
  EXPECT_EQ(window->m_vScrollMax, 31);
  EXPECT_EQ(window->m_vScrollPos, 24);
  EXPECT_EQ(::GetScrollPos(hwnd, SB_VERT), 24);
  // Text that adds no line still keeps a bottom view at the bottom, and sets no bar: neither its range
  // nor its position changes. A new line moves both.
  send(WM_VSCROLL, SB_BOTTOM);
  kqtest::IatHook pos("kqafx.dll", "user32.dll", "SetScrollPos", reinterpret_cast<void*>(&countSetScrollPos));
  kqtest::IatHook range("kqafx.dll", "user32.dll", "SetScrollRange",
                        reinterpret_cast<void*>(&countSetScrollRange));
  ASSERT_TRUE(pos.installed() && range.installed());
  scrollBarCalls = 0;
  window->Display("partial");
  EXPECT_EQ(window->m_vScrollPos, 31);
  EXPECT_EQ(scrollBarCalls, 0);
  window->Display("\n");
  EXPECT_EQ(window->m_vScrollPos, 32);
  EXPECT_EQ(::GetScrollPos(hwnd, SB_VERT), 32);
  EXPECT_GE(scrollBarCalls, 2);
}

TEST_F(OutputWindowTest, SaveAsWritesEachLineUpToItsNulWithCrLfThenOneMore) {
  const std::string path = tempPath("save.txt");
  ASSERT_EQ(window->SaveAs(path.c_str()), 1);
  EXPECT_EQ(fileBytes(path), "\r\n\r\n"); // the empty current line, then the extra line end
  window->Display("abc\n");
  ASSERT_EQ(window->SaveAs(path.c_str()), 1);
  EXPECT_EQ(fileBytes(path), "abc\r\n\r\n\r\n"); // the file was truncated first
  window->OnClearBuffer();
  const std::string text("a\tb\r\nx\0y\n\0z\nlast", 17);
  window->Display(text.data(), static_cast<int>(text.size()));
  // Another handle holding the file open for reading and writing does not stop SaveAs.
  HANDLE other = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  EXPECT_EQ(window->SaveAs(path.c_str()), 1);
  ::CloseHandle(other);
  EXPECT_EQ(fileBytes(path), "a       b\r\nx\r\n\r\nlast\r\n\r\n");
  ::DeleteFileA(path.c_str());

  const std::string missingDir = tempPath("no-such-dir") + "\\out.txt";
  EXPECT_EQ(window->SaveAs(missingDir.c_str()), 0);
  EXPECT_EQ(::GetFileAttributesA(missingDir.c_str()), INVALID_FILE_ATTRIBUTES);
  char dir[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, dir);
  EXPECT_EQ(window->SaveAs(dir), 0); // a folder
}
