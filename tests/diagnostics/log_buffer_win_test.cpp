// The log stream buffer delivering to output windows. (Writers on several threads: the threads test drives
// the same put area over the locked store, the stress test a window under eight writers.)
#include "kqdiagnostics.h"
#include "kqwindows.h"
#include "line_list.h"
#include "message_pump.h"

#include <gtest/gtest.h>

#include <string>

TEST(LogBuffer, DeliversToTheWindowSetAtEachFlushOverflowAndDestruction) {
  COutputWindow unshown;           // before Create a window only stores what it is given
  auto* shown = new COutputWindow; // a frame deletes itself when its window is destroyed
  ASSERT_TRUE(shown->Create("log buffer"));
  const HWND hwnd = shown->GetSafeHwnd();
  {
    KQMFCLogBuffer buffer;
    std::ostream out(&buffer);
    out << "lost" << std::flush; // no window: dropped for good
    buffer.setWnd(&unshown);
    out << "abc";
    buffer.setWnd(shown); // does not flush: the pending text goes where the flush sends it
    out << std::flush;
    EXPECT_EQ(linesOf(unshown.m_lines), Lines{""});
    EXPECT_EQ(linesOf(shown->m_lines), Lines{"abc"});

    kqtest::PumpPending();
    ValidateRect(hwnd, nullptr);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(hwnd, &update, FALSE));
    out << std::flush; // Display(text, 0): nothing stored, but the view is updated (invalidated)
    EXPECT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
    EXPECT_EQ(linesOf(shown->m_lines), Lines{"abc"});

    buffer.setWnd(&unshown);
    out << std::string(1025, 'a');                  // 1024 delivered by overflow, 1 pending
    ASSERT_EQ(linesOf(unshown.m_lines).size(), 8u); // 7 lines of 140 and 44 in the current line
    EXPECT_EQ(linesOf(unshown.m_lines).back(), std::string(44, 'a'));
    EXPECT_EQ(buffer.sbumpc(), EOF); // write-only
    out << "z";
  } // destruction delivers the pending "az"
  EXPECT_EQ(linesOf(unshown.m_lines).back(), std::string(45, 'a') + "z");
  shown->DestroyWindow();
}
