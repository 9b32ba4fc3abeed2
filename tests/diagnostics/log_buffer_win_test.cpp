// The log stream buffer delivering to a real output window, from one thread and from several.
#include "kqdiagnostics.h"
#include "kqwindows.h"
#include "message_pump.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {
std::vector<std::string> lines(COutputWindow& window) {
  std::vector<std::string> out;
  for (POSITION p = window.m_lines.GetHeadPosition(); p != nullptr;) {
    const CString& line = window.m_lines.GetNext(p);
    out.emplace_back(line.GetString(), line.GetLength());
  }
  return out;
}

using Lines = std::vector<std::string>;
} // namespace

// Before its window exists an output window stores what it is given, so these need no screen.
TEST(LogBuffer, WithoutAWindowFlushedTextIsDroppedForGood) {
  COutputWindow window;
  KQMFCLogBuffer buffer;
  std::ostream out(&buffer);
  out << "lost" << std::flush;
  buffer.setWnd(&window);
  out << std::flush;
  EXPECT_EQ(lines(window), Lines{""});
  buffer.setWnd(nullptr);
}

TEST(LogBuffer, PendingTextGoesToTheWindowSetAtFlushTime) {
  COutputWindow first, second;
  KQMFCLogBuffer buffer;
  std::ostream out(&buffer);
  buffer.setWnd(&first);
  out << "abc";
  buffer.setWnd(&second); // setWnd does not flush
  out << std::flush;
  EXPECT_EQ(lines(first), Lines{""});
  EXPECT_EQ(lines(second), Lines{"abc"});
  out << "line" << std::endl << "\tx" << std::endl;
  EXPECT_EQ(lines(second), (Lines{"abcline", "        x", ""}));
  buffer.setWnd(nullptr);
}

TEST(LogBuffer, OverflowAndDestructionDeliverEveryCharacter) {
  COutputWindow window;
  {
    KQMFCLogBuffer buffer;
    buffer.setWnd(&window);
    std::ostream out(&buffer);
    out << std::string(1025, 'a');       // 1024 delivered by overflow, 1 pending
    ASSERT_EQ(lines(window).size(), 8u); // 7 lines of 140 and 44 in the current line
    EXPECT_EQ(lines(window).back(), std::string(44, 'a'));
    out << "z";
  } // destruction delivers the pending "az"
  EXPECT_EQ(lines(window).back(), std::string(45, 'a') + "z");
}

TEST(LogBuffer, AnEmptyFlushStillRunsTheWindowsViewUpdate) {
  auto* window = new COutputWindow; // a frame deletes itself when its window is destroyed
  ASSERT_TRUE(window->Create("log buffer"));
  kqtest::PumpPending();
  ValidateRect(window->GetSafeHwnd(), nullptr);
  RECT update;
  ASSERT_FALSE(GetUpdateRect(window->GetSafeHwnd(), &update, FALSE));
  KQMFCLogBuffer buffer;
  buffer.setWnd(window);
  std::ostream out(&buffer);
  out << std::flush; // Display(text, 0): nothing stored, but the view is updated (invalidated)
  EXPECT_TRUE(GetUpdateRect(window->GetSafeHwnd(), &update, FALSE));
  EXPECT_EQ(lines(*window), Lines{""});
  buffer.setWnd(nullptr);
  window->DestroyWindow();
}

// Several threads, each with its own log stream on one window, write while the window's thread paints
// and saves: every line arrives whole and in its writer's order, and nothing is lost.
TEST(LogBuffer, ConcurrentWritersWhileTheWindowPaintsAndSaves) {
  auto* window = new COutputWindow;
  ASSERT_TRUE(window->Create("concurrent writers"));
  constexpr int writers = 4;
  constexpr int linesEach = 1500;
  HANDLE done[writers];
  std::vector<std::thread> threads;
  for (int w = 0; w < writers; ++w) {
    done[w] = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    threads.emplace_back([window, w, event = done[w]] {
      KQDebugInfo& info = GetDebugThreadInfo();
      KQMFCLogBuffer buffer;
      buffer.setWnd(window);
      std::ostream out(&buffer);
      info.setLogStream(&out, 0);
      for (int i = 0; i < linesEach; ++i)
        info.LogStream() << "writer " << w << " line " << i << ' ' << std::string(40 + i % 60, 'x')
                         << std::endl;
      info.finish();
      buffer.setWnd(nullptr);
      SetEvent(event);
    });
  }
  char path[MAX_PATH];
  GetTempPathA(MAX_PATH, path);
  const std::string saved = std::string(path) + "kqmfc_concurrent_save.txt";
  int saves = 0;
  // Keep the window's thread painting and saving until every writer is done.
  while (WaitForMultipleObjects(writers, done, TRUE, 0) == WAIT_TIMEOUT) {
    kqtest::PumpPending();
    window->UpdateWindow();
    EXPECT_EQ(window->SaveAs(saved.c_str()), 1);
    ++saves;
    MsgWaitForMultipleObjects(writers, done, TRUE, 5, QS_ALLINPUT);
  }
  for (auto& t : threads)
    t.join();
  for (HANDLE h : done)
    CloseHandle(h);
  std::remove(saved.c_str());

  const Lines stored = lines(*window);
  ASSERT_EQ(stored.size(), static_cast<size_t>(writers * linesEach + 1));
  std::map<int, int> next; // each writer's lines come whole and in order
  for (size_t k = 0; k + 1 < stored.size(); ++k) {
    int w = -1, i = -1;
    char tail[128] = {};
    ASSERT_EQ(std::sscanf(stored[k].c_str(), "writer %d line %d %127s", &w, &i, tail), 3) << stored[k];
    EXPECT_EQ(i, next[w]++) << "writer " << w;
    EXPECT_EQ(std::string(tail), std::string(40 + i % 60, 'x'));
  }
  for (int w = 0; w < writers; ++w)
    EXPECT_EQ(next[w], linesEach);
  EXPECT_GT(saves, 0);
  window->DestroyWindow();
}
