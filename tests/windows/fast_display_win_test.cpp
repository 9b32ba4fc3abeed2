// What only CFastDisplayWnd does, on real windows under Wine: the pending-input queue, with its move to
// the last page and the restore/minimise dance.
#include "window_test_util.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
class FastDisplayTest : public kqtest::TextWindowTest<kqtest::FastKind> {
protected:
  std::string pending() { return std::string(window->m_input.GetString(), window->m_input.GetLength()); }
  int returnInput(const std::string& text, int count) {
    return window->ReturnInput(const_cast<char*>(text.data()), count);
  }
};
} // namespace

TEST_F(FastDisplayTest, InputComesBackLastReturnedFirstAndAnEmptyQueueShowsTheLastPage) {
  addLines(100);
  kqtest::SetClientSize(hwnd, 40 * cw, 10 * lh);
  EXPECT_EQ(window->m_vScrollPos, 0); // new text never moves the view
  EXPECT_EQ(returnInput("b", 1), 1);
  EXPECT_EQ(returnInput("a", 1), 1);
  EXPECT_EQ(returnInput("xyz", 0), 1);
  EXPECT_EQ(returnInput("xyz", -4), 1);
  EXPECT_EQ(pending(), "ab");
  char buffer[10] = {'#', '#'};
  EXPECT_EQ(window->GetInput(buffer, 0), 0);
  EXPECT_EQ(window->GetInput(buffer, -1), 0);
  EXPECT_EQ(pending(), "ab");
  EXPECT_EQ(window->GetInput(buffer, 1), 1);
  EXPECT_EQ(std::string(buffer, 2), "a#"); // no NUL added
  EXPECT_EQ(window->GetInput(buffer, 10), 1);
  EXPECT_EQ(buffer[0], 'b');
  EXPECT_EQ(window->m_vScrollPos, 0); // input was pending: the view stayed
  EXPECT_EQ(window->GetInput(buffer, 10), 0);
  EXPECT_EQ(window->m_vScrollPos, 101 - 10); // nothing pending: the last page
  EXPECT_EQ(::GetScrollPos(hwnd, SB_VERT), 101 - 10);
  returnInput(std::string("c\0d", 3), 3); // NUL bytes travel like any other
  EXPECT_EQ(window->GetInput(buffer, 2), 2);
  EXPECT_EQ(std::string(buffer, 2), std::string("c\0", 2));
  EXPECT_EQ(pending(), "d");
  EXPECT_EQ(window->FlushInput(), 1);
  EXPECT_TRUE(window->m_input.IsEmpty());
  returnInput("zz", 2);
  window->OnClearBuffer();
  EXPECT_TRUE(window->m_input.IsEmpty());
  // The exported scroll rule.
  EXPECT_EQ(CFastDisplayWnd::compute_scroll_pos_delta(SB_THUMBPOSITION, 7, 5, 10, 1, 8), 2);
  EXPECT_EQ(CFastDisplayWnd::compute_scroll_pos_delta(SB_LINEDOWN, 0, 12, 10, 1, 8), -2);
}

namespace {
std::vector<int> minMaxRequests;
LRESULT CALLBACK recordMinMax(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_MINMAX)
    minMaxRequests.push_back(LOWORD(lParam));
  return ::CallNextHookEx(nullptr, code, wParam, lParam);
}
} // namespace

// The queue works before the window exists; once it does, a minimised window is restored and minimised again.
TEST(FastDisplay, AMinimisedWindowIsRestoredForTheUpdateAndMinimisedAgain) {
  CFastDisplayWnd window;
  char buffer[4];
  EXPECT_EQ(window.GetInput(buffer, 4), 0);
  window.ReturnInput(const_cast<char*>("in"), 2);
  EXPECT_EQ(window.GetInput(buffer, 4), 2);
  ASSERT_TRUE(window.CreateEx(0, nullptr, "fast", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL,
                              0, 0, 400, 300, nullptr, nullptr));
  const std::string text(100, '\n');
  window.Display(text.data(), 100);
  ::ShowWindow(window.GetSafeHwnd(), SW_MINIMIZE);
  kqtest::PumpPending();
  ASSERT_TRUE(window.IsIconic());

  HHOOK hook = ::SetWindowsHookExA(WH_CBT, recordMinMax, nullptr, ::GetCurrentThreadId());
  window.ReturnInput(const_cast<char*>("k"), 1);
  EXPECT_EQ(window.GetInput(buffer, 4), 1); // input pending: no restore
  EXPECT_EQ(window.GetInput(buffer, 4), 0);
  ::UnhookWindowsHookEx(hook);
  ASSERT_EQ(minMaxRequests.size(), 2u);
  EXPECT_NE(minMaxRequests[0], SW_MINIMIZE); // restored ...
  EXPECT_EQ(minMaxRequests[1], SW_MINIMIZE); // ... then minimised again
  EXPECT_TRUE(window.IsIconic());
  window.DestroyWindow();
}
