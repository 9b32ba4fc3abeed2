// Several threads writing to one output window while its own thread paints and another thread saves
// it: every call's text stays together, nothing is lost but what the cap drops, and nobody deadlocks
// (the window's thread keeps handling messages while it waits).
#include "line_list.h"
#include "window_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace {
constexpr int writers = 4, calls = 2000;

// Call `call` of writer `writer` writes four lines in one Display.
std::string callLine(int writer, int call, int part) {
  return "t" + std::to_string(writer) + "c" + std::to_string(call) + "-" + std::to_string(part);
}
std::string callText(int writer, int call) {
  return callLine(writer, call, 0) + "\n" + callLine(writer, call, 1) + "\n" + callLine(writer, call, 2) +
         "\n" + callLine(writer, call, 3) + "\n";
}

// Checks that `lines` (ending with the empty current line) are whole calls, each writer's in order and
// none missing, after at most the last lines of one call whose first lines the cap dropped. Returns the
// number of whole calls.
int expectWholeCalls(const Lines& lines) {
  EXPECT_TRUE(!lines.empty() && lines.back().empty()) << "no empty current line at the end";
  std::vector<int> lastCall(writers, -1);
  int whole = 0, writer = -1, call = -1, part = 3;
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    int w = -1, c = -1, p = -1;
    char extra = 0;
    if (std::sscanf(lines[i].c_str(), "t%dc%d-%d%c", &w, &c, &p, &extra) != 3 || w < 0 || w >= writers) {
      ADD_FAILURE() << "line " << i << ": " << lines[i];
      return whole;
    }
    if (part < 3) { // inside a call: its next line
      EXPECT_TRUE(w == writer && c == call && p == part + 1) << "line " << i << ": " << lines[i];
    } else if (i > 0 || p == 0) { // a new call: the writer's next one
      EXPECT_EQ(p, 0) << "line " << i << ": " << lines[i];
      int& last = lastCall[static_cast<size_t>(w)];
      EXPECT_TRUE(last < 0 || c == last + 1) << "line " << i << ": " << lines[i];
      last = c;
      ++whole;
    }
    writer = w, call = c, part = p;
  }
  EXPECT_EQ(part, 3) << "the newest call is cut";
  return whole;
}
} // namespace

TEST(OutputWindowConcurrency, WritersPainterAndSaverTogether) {
  auto* window = new COutputWindow;
  ASSERT_EQ(window->Create("concurrent"), 1);
  HWND hwnd = window->GetSafeHwnd();
  kqtest::SetClientSize(hwnd, 80 * window->m_charWidth, 30 * window->m_lineHeight);
  kqtest::TextOutRecorder recorder; // sees the window thread's paints

  // 4 writers x 2000 calls x 4 lines: 32000 lines, more than the cap keeps.
  std::atomic<int> paints{0}, saves{0}, finished{0};
  std::atomic<bool> writing{true};
  char dir[MAX_PATH] = {};
  ::GetTempPathA(MAX_PATH, dir);
  const std::string path = std::string(dir) + "kqwin-concurrent-" + std::to_string(::GetCurrentProcessId());
  std::vector<std::string> snapshots;
  auto waitFor = [](const std::atomic<int>& value) {
    while (value.load() == 0)
      ::Sleep(1);
  };
  std::vector<std::thread> threads;
  for (int w = 0; w < writers; ++w)
    threads.emplace_back([&, w] {
      for (int c = 0; c < calls; ++c) {
        if (c == calls / 4)
          waitFor(paints); // the window has painted while we write ...
        if (c == calls / 2)
          waitFor(saves); // ... and has been saved while we write
        const std::string text = callText(w, c);
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
          ++paints;
        if (finished.load() == writers)
          writing = false;
        return finished.load() == writers + 1;
      },
      300000);
  ASSERT_TRUE(allDone) << "writers or saver still blocked";
  for (auto& t : threads)
    t.join();

  const Lines lines = linesOf(window->m_lines);
  EXPECT_EQ(lines.size(), 29999u);
  EXPECT_EQ(expectWholeCalls(lines), 29998 / 4); // after the last 2 lines of a cut call
  for (int w = 0; w < writers; ++w) // every writer's last call is there: only the oldest lines went
    EXPECT_NE(std::find(lines.begin(), lines.end(), callLine(w, calls - 1, 0)), lines.end()) << w;
  // Each saved file: whole calls and the current line, one record per CR LF, then the extra line end.
  ASSERT_FALSE(snapshots.empty());
  for (const std::string& saved : snapshots) {
    Lines records;
    size_t start = 0;
    for (size_t end; (end = saved.find("\r\n", start)) != std::string::npos; start = end + 2)
      records.push_back(saved.substr(start, end - start));
    EXPECT_EQ(start, saved.size()) << "bytes after the last CR LF";
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(records.back(), "");
    records.pop_back();
    EXPECT_LE(records.size(), 29999u);
    expectWholeCalls(records);
  }
  EXPECT_GT(window->m_vScrollMax, 0);
  ::DeleteFileA(path.c_str());
  ::DestroyWindow(hwnd);
  kqtest::PumpPending();
}
