// What only COutputWindow does, on real windows under Wine: its two Create forms, the view following new
// text, SaveAs, and writers on several threads. (What both windows do: text_windows_win_test.cpp.)
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
// A path in the temporary folder, unique to this process.
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

constexpr int writers = 4, calls = 2000;

// Call `call` of writer `writer` writes four lines, numbered 0 to 3, in one Display.
std::string callLine(int writer, int call, int line) {
  return "t" + std::to_string(writer) + "c" + std::to_string(call) + "-" + std::to_string(line);
}

// Checks that `lines` (ending with the empty current line) are whole calls, each writer's in order, after
// at most the last lines of one call whose first lines the cap dropped. Returns the number of whole calls.
int expectWholeCalls(const Lines& lines) {
  EXPECT_TRUE(!lines.empty() && lines.back().empty()) << "no empty current line at the end";
  std::vector<int> lastCall(writers, -1);
  int whole = 0, writer = -1, call = -1, index = 3;
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    int w = -1, c = -1, p = -1;
    char extra = 0;
    if (std::sscanf(lines[i].c_str(), "t%dc%d-%d%c", &w, &c, &p, &extra) != 3 || w < 0 || w >= writers) {
      ADD_FAILURE() << "line " << i << ": " << lines[i];
      return whole;
    }
    if (index < 3) { // inside a call: its next line
      EXPECT_TRUE(w == writer && c == call && p == index + 1) << "line " << i << ": " << lines[i];
    } else if (i > 0 || p == 0) { // a new call: the writer's next one
      EXPECT_EQ(p, 0) << "line " << i << ": " << lines[i];
      int& last = lastCall[static_cast<size_t>(w)];
      EXPECT_TRUE(last < 0 || c == last + 1) << "line " << i << ": " << lines[i];
      last = c;
      ++whole;
    }
    writer = w, call = c, index = p;
  }
  EXPECT_EQ(index, 3) << "the newest call is cut";
  return whole;
}

// A child output window (see kqtest::OutputKind).
class OutputWindowTest : public kqtest::TextWindowTest<kqtest::OutputKind> {};
} // namespace

TEST_F(OutputWindowTest, TopLevelWithCloseGreyedOrAChildWithoutASystemMenu) {
  auto* top = new COutputWindow;
  ASSERT_EQ(top->Create("Output"), 1);
  const HWND topHwnd = top->GetSafeHwnd();
  EXPECT_TRUE(::IsWindowVisible(topHwnd));
  EXPECT_EQ(::GetWindowLongA(topHwnd, GWL_STYLE) & WS_OVERLAPPEDWINDOW, WS_OVERLAPPEDWINDOW);
  HMENU menu = ::GetSystemMenu(topHwnd, FALSE);
  ASSERT_NE(menu, nullptr);
  const UINT close = ::GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND);
  ASSERT_NE(close, static_cast<UINT>(-1));
  EXPECT_TRUE(close & MF_GRAYED);
  EXPECT_FALSE(::GetMenuState(menu, SC_MINIMIZE, MF_BYCOMMAND) & MF_GRAYED);
  ::DestroyWindow(topHwnd); // the frame deletes itself

  EXPECT_TRUE(::GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD);
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
  EXPECT_EQ(window->m_vScrollPos, 26);
  EXPECT_EQ(::GetScrollPos(hwnd, SB_VERT), 26);

  send(WM_VSCROLL, SB_LINEUP);
  send(WM_VSCROLL, SB_LINEUP);
  ASSERT_EQ(window->m_vScrollPos, 24);
  addLines(5);
  EXPECT_EQ(window->m_vScrollPos, 24);
  EXPECT_EQ(::GetScrollPos(hwnd, SB_VERT), 24);
  // Text that adds no line keeps a bottom view there and sets no bar (nothing changes); a new line does.
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

  // Paths that cannot be opened: in a missing folder, and a folder.
  const std::string missing = tempPath("no-such-dir") + "\\out.txt";
  EXPECT_EQ(window->SaveAs(missing.c_str()), 0);
  EXPECT_EQ(::GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(window->SaveAs(path.substr(0, path.rfind('\\') + 1).c_str()), 0);
}

// Writers on several threads while the window's thread paints and another thread saves: each call's text
// stays together, nothing is lost but what the cap drops, nobody deadlocks (the window's thread pumps).
TEST_F(OutputWindowTest, WritersPainterAndSaverTogether) {
  kqtest::TextOutRecorder recorder; // sees the window thread's paints

  // 4 writers x 2000 calls x 4 lines: 32000 lines, more than the cap keeps.
  std::atomic<int> paints{0}, saves{0}, finished{0};
  std::atomic<bool> writing{true};
  const std::string path = tempPath("concurrent.txt");
  std::vector<std::string> snapshots;
  std::vector<std::thread> threads;
  for (int w = 0; w < writers; ++w)
    threads.emplace_back([&, w] {
      for (int c = 0; c < calls; ++c) {
        if (c == calls / 4 || c == calls / 2) // the window has painted, then been saved, while we write
          while ((c == calls / 4 ? paints : saves).load() == 0)
            ::Sleep(1);
        std::string text;
        for (int line = 0; line < 4; ++line)
          text += callLine(w, c, line) + "\n";
        window->Display(text.data(), static_cast<int>(text.size()));
      }
      ++finished;
    });
  threads.emplace_back([&] {
    while (writing) {
      if (window->SaveAs(path.c_str()) == 1) {
        snapshots.push_back(fileBytes(path));
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
  ::DeleteFileA(path.c_str());
}
