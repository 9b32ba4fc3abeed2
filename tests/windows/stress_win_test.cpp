// Eight writers into the opt-in output window while its thread paints, scrolls, clears, changes font, saves,
// copies, selects, copies the selection and searches: every line seen whole and in its writer's order, the
// cap kept, everything after the last clear stored, painted and saved exactly, and found once per writer.
#include "line_list.h"
#include "window_test_util.h"
#include "writer_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {
// Writers pause at lastClearAt for the last clear (8 x 1800 x 2 lines fit after it); writer call c waits for
// round c / callsPerRound - slack, so that the window's work spreads over the run.
constexpr int writers = 8, calls = 10000, lastClearAt = 8200, callsPerRound = 100, slack = 5;
constexpr long long cap = kqtest::OutputKind::cap;

// The records of `bytes`, each ended by CR LF; `error` set when bytes are left after the last one.
Lines crLfRecords(const std::string& bytes, std::string& error) {
  Lines records;
  size_t start = 0;
  for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    records.push_back(bytes.substr(start, end - start));
  if (start != bytes.size())
    error = "text after the last line end";
  return records;
}

// A file written by SaveAs: the stored lines, the current line last, then the extra line end.
Lines savedRecords(COutputWindow& w, std::string& error) {
  const std::string path = kqtest::TempPath("save.txt");
  if (w.SaveAs(path.c_str()) != 1)
    error = "SaveAs failed";
  Lines records = crLfRecords(kqtest::FileBytes(path), error);
  ::DeleteFileA(path.c_str());
  if (records.size() < 2 || !records.back().empty())
    error = "the saved file does not end with the extra line end";
  records.resize(records.empty() ? 0 : records.size() - 1);
  return records;
}

using StressTest = kqtest::TextWindowTest<kqtest::OutputExKind>;
} // namespace

TEST_F(StressTest, EightWritersWhileTheWindowPaintsScrollsClearsCopiesSelectsFindsChangesFontAndSaves) {
  auto& w = *window;
  kqtest::WriterPause lastClear(writers);
  kqtest::TextOutRecorder recorder;
  std::atomic<long> rounds{0}, callsMade{0};
  std::atomic<int> finished{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < writers; ++t)
    threads.emplace_back([&, t] {
      for (int c = 0; c < calls; ++c) {
        if (c == lastClearAt)
          lastClear.Arrive();
        while (rounds.load() < c / callsPerRound - slack)
          ::Sleep(1);
        const std::string text =
            kqtest::WriterLine(t, 2L * c) + "\n" + kqtest::WriterLine(t, 2L * c + 1) + "\n";
        w.Display(text.data(), static_cast<int>(text.size()));
        ++callsMade;
      }
      ++finished;
    });

  // The window's thread; `error` keeps the first fault seen. A round starts once the writers have made
  // its calls (or wait for the last clear, or are done): between two clears more lines come than the cap
  // keeps.
  std::string error;
  auto note = [&](long round, const std::string& what, const std::string& fault) {
    if (!fault.empty() && error.empty())
      error = "round " + std::to_string(round) + ", " + what + ": " + fault;
  };
  auto checkPainted = [&](long round, const std::vector<kqtest::DrawnText>& drawn) {
    std::string fault;
    for (const kqtest::DrawnText& d : drawn) // one by one: a page may show a writer's lines twice
      if (!d.text.empty())                   // the empty current line
        kqtest::CheckWriterLines(Lines{d.text}, writers, fault);
    note(round, "painted", fault);
  };
  std::mt19937 rng(7);
  HWND find = nullptr; // the find dialog
  bool lastCleared = false;
  long long largest = 0; // the cap is reached between two clears
  for (long round = 0; !lastCleared || finished.load() < writers; rounds = ++round) {
    while (callsMade.load() < round * writers * callsPerRound && (lastCleared || !lastClear.AllArrived()) &&
           finished.load() < writers)
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT), kqtest::PumpPending();
    kqtest::PumpPending();
    checkPainted(round, recorder.take());
    checkPainted(round, recorder.repaint(hwnd));
    const UINT codes[] = {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP,       SB_PAGEDOWN,
                          SB_TOP,    SB_BOTTOM,   SB_THUMBPOSITION};
    send(WM_VSCROLL, codes[rng() % std::size(codes)], rng() % 30000);
    if (round % 4 == 0)
      send(WM_HSCROLL, rng() % 2 == 0 ? SB_LINERIGHT : SB_LEFT);
    checkPainted(round, recorder.take()); // the band the scroll uncovered
    {
      std::lock_guard<KQCriticalSection> guard(w.m_lock);
      largest = std::max<long long>(largest, w.m_lines.GetCount());
      if (w.m_lines.GetCount() < 1 || w.m_lines.GetCount() > cap - 1)
        note(round, "count", std::to_string(w.m_lines.GetCount()) + " lines stored");
    }
    std::string fault;
    if (round % 8 == 0) {
      const Lines saved = savedRecords(w, fault);
      kqtest::CheckWriterLines(kqtest::CompletedLines(saved, fault), writers, fault);
      note(round, "saved file", fault);
    } else if (round % 8 == 4) { // one snapshot: each writer's lines one unbroken run
      fault = KQCopyAll(w) == 1 ? "" : "KQCopyAll failed";
      kqtest::CheckWriterLines(crLfRecords(kqtest::ClipboardText(), fault), writers, fault);
      note(round, "copy all", fault);
    } else if (round % 8 == 2) { // three whole lines dragged over and copied, then a search
      send(WM_HSCROLL, SB_LEFT);
      for (const UINT message : {WM_LBUTTONDOWN, WM_MOUSEMOVE, WM_LBUTTONUP})
        ::SendMessageA(hwnd, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON,
                       MAKELPARAM(1, (message == WM_LBUTTONDOWN ? 2 : 5) * w.m_lineHeight + 1));
      kqtest::Key(hwnd, 'C', true);
      kqtest::CheckWriterLines(crLfRecords(kqtest::ClipboardText(), fault), writers, fault);
      note(round, "copied selection", fault);
      ::SendMessageA(find, WM_COMMAND, IDOK, 0);
      kqtest::Key(hwnd, VK_ESCAPE);
    }
    if (round == 40) { // after the font dialogs, whose watcher would answer it instead
      kqtest::Key(hwnd, 'F', true);
      find = kqtest::FindDialog(::GetCurrentThreadId());
      ::SetDlgItemTextA(find, 0x480 /* edt1 */, "s17000 ");
    }
    if (round == 10 || round == 30)
      note(round, "font",
           kqtest::ChooseFont(w, "Tahoma", round == 10 ? "Red" : "Blue", IDOK) ? "" : "not chosen");
    if (!lastCleared) {
      lastCleared = lastClear.AllArrived();
      if (lastCleared || round % 24 == 23)
        w.OnClearBuffer();
      if (lastCleared)
        lastClear.Release();
    }
  }
  for (auto& t : threads)
    t.join();
  EXPECT_EQ(error, "");
  EXPECT_EQ(largest, cap - 1);

  // Everything written after the last clear, whole and in each writer's order; the last page painted and
  // the saved file are the stored lines.
  kqtest::PumpPending();
  send(WM_VSCROLL, SB_BOTTOM);
  const Lines stored = linesOf(w.m_lines); // the writers are gone
  ASSERT_EQ(stored.size(), static_cast<size_t>(writers * (calls - lastClearAt) * 2 + 1));
  std::string storedError;
  const auto runs =
      kqtest::CheckWriterLines(kqtest::CompletedLines(stored, storedError), writers, storedError);
  EXPECT_EQ(storedError, "");
  for (int t = 0; t < writers; ++t)
    EXPECT_TRUE(runs[static_cast<size_t>(t)].first == 2L * lastClearAt &&
                runs[static_cast<size_t>(t)].last == 2L * calls - 1)
        << t;
  // From the line above the top one to the one at the client area's bottom edge, each whole at its row.
  recorder.take();
  const auto page = recorder.repaint(hwnd);
  const int top = w.m_vScrollPos, height = w.m_lineHeight;
  const long long end = std::min<long long>(top + 1 + w.m_clientHeight / height, stored.size());
  ASSERT_EQ(static_cast<long long>(page.size()), end - (top - 1));
  for (size_t i = 0; i < page.size(); ++i)
    EXPECT_TRUE(page[i].text == stored[top - 1 + i] && page[i].y == (static_cast<int>(i) - 1) * height &&
                page[i].x == -w.m_hScrollPos * w.m_charWidth)
        << i;
  std::string saveError;
  EXPECT_EQ(savedRecords(w, saveError), stored);
  EXPECT_EQ(saveError, "");
  // From the top, each writer's line found once, in order; then no match leaves the selection.
  ASSERT_NE(find, nullptr);
  send(WM_VSCROLL, SB_TOP);
  long long last = -1;
  for (int k = 0; k <= writers; ++k) {
    ::SendMessageA(find, WM_COMMAND, IDOK, 0);
    const KQTextSelection found = w.GetSelection();
    EXPECT_TRUE(k < writers ? found.anchor.line > last && found.caret.column - found.anchor.column == 7
                            : found.anchor.line == last)
        << k;
    last = found.anchor.line;
  }
  kqtest::Key(hwnd, 'C', true);
  EXPECT_EQ(kqtest::ClipboardText(), "s17000 ");
}
