// Several threads writing to one output window while its own thread paints and another thread saves
// it: every call's text stays together, nothing is lost but what the cap drops, and nobody deadlocks
// (the window's thread keeps handling messages while it waits).
#include "call_blocks.h"
#include "kqwindows.h"
#include "line_list.h"
#include "window_test_util.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {
// A saved file's records (split at CR LF); the last two are the current line and the extra line end.
std::vector<std::string> records(const std::string& bytes) {
  std::vector<std::string> out;
  size_t start = 0;
  for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    out.push_back(bytes.substr(start, end - start));
  EXPECT_EQ(start, bytes.size()) << "bytes after the last CR LF";
  return out;
}

void waitFor(const std::atomic<int>& value, int atLeast) {
  while (value.load() < atLeast)
    ::Sleep(1);
}
} // namespace

TEST(OutputWindowConcurrency, WritersPainterAndSaverTogether) {
  auto* window = new COutputWindow;
  ASSERT_EQ(window->Create("concurrent"), 1);
  HWND hwnd = window->GetSafeHwnd();
  kqtest::SetClientSize(hwnd, 80 * window->m_charWidth, 30 * window->m_lineHeight);
  kqtest::TextOutRecorder recorder; // counts the window thread's paints

  // 4 writers x 2000 calls x 4 lines: 32000 lines, more than the cap keeps.
  constexpr int writers = 4, calls = 2000;
  std::atomic<int> paintsSeen{0}, saves{0}, finished{0};
  std::atomic<bool> writing{true};
  char dir[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, dir);
  const std::string path =
      std::string(dir) + "kqwin-concurrent-" + std::to_string(::GetCurrentProcessId()) + ".txt";
  std::vector<std::string> snapshots;

  std::vector<std::thread> threads;
  for (int w = 0; w < writers; ++w)
    threads.emplace_back([&, w] {
      for (int c = 0; c < calls; ++c) {
        if (c == calls / 4)
          waitFor(paintsSeen, 1); // the window has painted while we write ...
        if (c == calls / 2)
          waitFor(saves, 1); // ... and has been saved while we write
        const std::string text = kqtest::CallText(w, c);
        window->Display(text.data(), static_cast<int>(text.size()));
      }
      ++finished;
    });
  threads.emplace_back([&] {
    while (writing) {
      if (window->SaveAs(path.c_str()) == 1) {
        std::ifstream in(path, std::ios::binary);
        snapshots.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ++saves;
      }
    }
    ++finished;
  });

  // The window's thread paints and answers the writers' scroll-bar calls while it waits.
  const bool allDone = kqtest::PumpUntil(
      [&] {
        if (!recorder.take().empty())
          ++paintsSeen;
        if (finished.load() == writers)
          writing = false;
        return finished.load() == writers + 1;
      },
      300000);
  ASSERT_TRUE(allDone) << "writers or saver still blocked";
  for (auto& t : threads)
    t.join();

  const std::vector<std::string> lines = linesOf(window->m_lines);
  EXPECT_EQ(lines.size(), 29999u);
  // 29998 completed lines: whole blocks after at most one cut block.
  EXPECT_GE(kqtest::ExpectWholeCalls(lines), 29998 / 4 - 1);
  // Every writer's last call is there: only the oldest lines were dropped.
  for (int w = 0; w < writers; ++w) {
    const std::string last = "t" + std::to_string(w) + "c" + std::to_string(calls - 1) + "-a";
    EXPECT_NE(std::find(lines.begin(), lines.end(), last), lines.end()) << last;
  }
  ASSERT_FALSE(snapshots.empty());
  for (const std::string& saved : snapshots) {
    std::vector<std::string> saveLines = records(saved);
    ASSERT_GE(saveLines.size(), 2u);
    EXPECT_EQ(saveLines.back(), "");
    saveLines.pop_back(); // the extra line end; what remains ends with the empty current line
    EXPECT_LE(saveLines.size(), 29999u);
    kqtest::ExpectWholeCalls(saveLines);
  }
  EXPECT_GT(window->m_vScrollMax, 0);
  ::DeleteFileA(path.c_str());
  ::DestroyWindow(hwnd);
  kqtest::PumpPending();
}
