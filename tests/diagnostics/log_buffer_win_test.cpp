// The log stream buffer delivering to output windows, from one thread and from several.
#include "kqdiagnostics.h"
#include "kqwindows.h"
#include "message_pump.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {
using Lines = std::vector<std::string>;

Lines lines(COutputWindow& window) {
  Lines out;
  for (POSITION p = window.m_lines.GetHeadPosition(); p != nullptr;) {
    const CString& line = window.m_lines.GetNext(p);
    out.emplace_back(line.GetString(), line.GetLength());
  }
  return out;
}
} // namespace

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
    EXPECT_EQ(lines(unshown), Lines{""});
    EXPECT_EQ(lines(*shown), Lines{"abc"});

    kqtest::PumpPending();
    ValidateRect(hwnd, nullptr);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(hwnd, &update, FALSE));
    out << std::flush; // Display(text, 0): nothing stored, but the view is updated (invalidated)
    EXPECT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
    EXPECT_EQ(lines(*shown), Lines{"abc"});

    buffer.setWnd(&unshown);
    out << std::string(1025, 'a');        // 1024 delivered by overflow, 1 pending
    ASSERT_EQ(lines(unshown).size(), 8u); // 7 lines of 140 and 44 in the current line
    EXPECT_EQ(lines(unshown).back(), std::string(44, 'a'));
    EXPECT_EQ(buffer.sbumpc(), EOF); // write-only
    out << "z";
  } // destruction delivers the pending "az"
  EXPECT_EQ(lines(unshown).back(), std::string(45, 'a') + "z");
  shown->DestroyWindow();
}

// Threads, each with its own log stream on one window, write while the window's thread paints and
// saves: every line arrives whole and in its writer's order, nothing is lost, nobody deadlocks.
TEST(LogBuffer, ConcurrentWritersWhileTheWindowPaintsAndSaves) {
  auto* window = new COutputWindow;
  ASSERT_TRUE(window->Create("concurrent writers"));
  constexpr int writers = 4, linesEach = 1500;
  std::atomic<int> finished{0};
  std::vector<std::thread> threads;
  for (int w = 0; w < writers; ++w)
    threads.emplace_back([window, w, &finished] {
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
      ++finished;
    });
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  const std::string saved = std::string(dir) + "kqmfc_concurrent_save.txt";
  // The window's thread keeps painting, saving and handling messages until every writer is done.
  EXPECT_TRUE(kqtest::PumpUntil(
      [&] {
        window->UpdateWindow();
        EXPECT_EQ(window->SaveAs(saved.c_str()), 1);
        return finished == writers;
      },
      240000));
  for (auto& t : threads)
    t.join();
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
  window->DestroyWindow();
}
