// The output window under load, on a real window under Wine: eight threads make 10,000 Display calls each
// while the window's own thread paints, scrolls, clears, changes the font, saves and copies every line.
// Every line painted, saved or copied is whole and from one writer; the count keeps the cap; a copy of the
// full window taken while the writers append is one snapshot; everything written after the last clear is
// there in each writer's order, and a full repaint draws exactly the stored lines of the page.
#include "kqwindowsex.h"
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
constexpr int writers = 8, calls = 10000, linesPerCall = 2;
constexpr long long cap = kqtest::OutputKind::cap;
// Writers pause at fullAt (8 x 2000 x 2 lines: more than the cap keeps) and at lastClearAt, for the last
// clear; what comes after (8 x 1800 x 2 lines) all fits.
constexpr int fullAt = 2000, lastClearAt = 8200;
// The writers and the window's thread keep pace: a writer at call c waits until the window's thread has
// done (c - slack) / callsPerRound rounds, and the window's thread starts round r once the writers have
// made r * callsPerRound calls each on average, so that its work is spread over the whole run.
constexpr int callsPerRound = 100, slack = 500;

Lines storedLines(COutputWindow& w) {
  std::lock_guard<KQCriticalSection> guard(w.m_lock);
  return linesOf(w.m_lines);
}

INT_PTR storedCount(COutputWindow& w) {
  std::lock_guard<KQCriticalSection> guard(w.m_lock);
  return w.m_lines.GetCount();
}

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
Lines savedRecords(const std::string& path, std::string& error) {
  Lines records = crLfRecords(kqtest::FileBytes(path), error);
  if (records.size() < 2 || !records.back().empty())
    error = "the saved file does not end with the extra line end";
  if (!records.empty())
    records.pop_back();
  return records;
}

std::string clipboardText() {
  std::string text;
  if (::OpenClipboard(nullptr)) {
    if (HANDLE data = ::GetClipboardData(CF_TEXT)) {
      if (const char* bytes = static_cast<const char*>(::GlobalLock(data)))
        text = bytes;
      ::GlobalUnlock(data);
    }
    ::CloseClipboard();
  }
  return text;
}

// Empty when `drawn` is what a paint of the whole client area must draw from `lines`: from the line
// above the first one shown down to the line holding the client area's bottom edge, each whole at its
// row. Else what differs.
std::string pageMismatch(const COutputWindow& w, HWND hwnd, const Lines& lines,
                         const std::vector<kqtest::DrawnText>& drawn) {
  RECT client = {};
  ::GetClientRect(hwnd, &client);
  const int lh = w.m_lineHeight, top = w.m_vScrollPos;
  const int first = std::max(0, top - 1);
  const int end = std::min(static_cast<int>(lines.size()), top + 1 + static_cast<int>(client.bottom) / lh);
  if (static_cast<int>(drawn.size()) != std::max(0, end - first))
    return "drew " + std::to_string(drawn.size()) + " lines, not " + std::to_string(end - first);
  for (int i = first; i < end; ++i) {
    const kqtest::DrawnText& d = drawn[static_cast<size_t>(i - first)];
    if (d.text != lines[static_cast<size_t>(i)] || d.y != (i - top) * lh ||
        d.x != -w.m_hScrollPos * w.m_charWidth)
      return "row " + std::to_string(i) + " drew \"" + d.text + "\" at " + std::to_string(d.x) + "," +
             std::to_string(d.y) + ", stored \"" + lines[static_cast<size_t>(i)] + "\"";
  }
  return {};
}

using StressTest = kqtest::TextWindowTest<kqtest::OutputKind>;
} // namespace

TEST_F(StressTest, EightWritersWhileTheWindowPaintsScrollsClearsCopiesChangesFontAndSaves) {
  auto& w = *window;
  kqtest::WriterPause full(writers), lastClear(writers);
  kqtest::TextOutRecorder recorder;

  std::atomic<long> rounds{0}, callsMade{0};
  std::atomic<int> finished{0};
  std::vector<std::thread> threads;
  for (int t = 0; t < writers; ++t)
    threads.emplace_back([&, t] {
      for (int c = 0; c < calls; ++c) {
        if (c == fullAt)
          full.Arrive();
        if (c == lastClearAt)
          lastClear.Arrive();
        while (rounds.load() < (c - slack) / callsPerRound)
          ::Sleep(1);
        const long seq = static_cast<long>(c) * linesPerCall;
        const std::string text = kqtest::WriterLine(t, seq) + "\n" + kqtest::WriterLine(t, seq + 1) + "\n";
        w.Display(text.data(), static_cast<int>(text.size()));
        ++callsMade;
      }
      ++finished;
    });

  // The window's thread. `error` keeps the first fault seen; every line a paint draws must be whole (or
  // the empty current line).
  std::string error;
  auto note = [&](const std::string& what, long round, const std::string& fault) {
    if (!fault.empty() && error.empty())
      error = "round " + std::to_string(round) + ", " + what + ": " + fault;
  };
  auto checkDrawn = [&](const std::vector<kqtest::DrawnText>& drawn, long round) {
    std::string fault;
    for (const kqtest::DrawnText& d : drawn)
      if (!d.text.empty())
        kqtest::CheckWriterLines(Lines{d.text}, writers, fault);
    note("painted", round, fault);
  };
  const std::string path = kqtest::TempPath("save.txt");
  std::mt19937 rng(7);
  int phase = 0; // 0 until the cap is reached, 1 until the last clear, 2 after it
  long fonts = 0, phaseRounds = 0;
  for (long round = 0; phase < 2 || finished.load() < writers; rounds = ++round, ++phaseRounds) {
    kqtest::PumpPending();
    checkDrawn(recorder.take(), round);
    checkDrawn(recorder.repaint(hwnd), round);
    const UINT codes[] = {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP,       SB_PAGEDOWN,
                          SB_TOP,    SB_BOTTOM,   SB_THUMBPOSITION};
    send(WM_VSCROLL, codes[rng() % std::size(codes)], rng() % 30000);
    if (round % 4 == 0)
      send(WM_HSCROLL, rng() % 2 == 0 ? SB_LINERIGHT : SB_LEFT);
    checkDrawn(recorder.take(), round); // the band the scroll uncovered
    if (const INT_PTR count = storedCount(w); count < 1 || count > cap - 1)
      note("count", round, std::to_string(count) + " lines stored");
    if (round % 16 == 0) {
      std::string fault = w.SaveAs(path.c_str()) == 1 ? "" : "SaveAs failed";
      const Lines records = savedRecords(path, fault);
      if (static_cast<long long>(records.size()) > cap - 1)
        fault = std::to_string(records.size()) + " records";
      kqtest::CheckWriterLines(kqtest::CompletedLines(records, fault), writers, fault);
      note("saved file", round, fault);
    }
    if ((phase == 0 && round == 5) || (phase == 1 && phaseRounds == 3)) {
      if (!kqtest::ChooseFont(w, "Tahoma", fonts++ % 2 == 0 ? "Red" : "Blue", IDOK))
        note("font", round, "the font dialog did not take face and colour");
      checkDrawn(recorder.take(), round);
    }
    if (phase == 1 && phaseRounds < 3) {
      // Full, and the writers append: each copy is one snapshot, every completed line whole and each
      // writer's lines one unbroken run (the empty current line is left out).
      std::string fault = KQCopyAll(w) == 1 ? "" : "KQCopyAll failed";
      const Lines copied = crLfRecords(clipboardText(), fault);
      if (static_cast<long long>(copied.size()) != cap - 2)
        fault = std::to_string(copied.size()) + " lines copied";
      kqtest::CheckWriterLines(copied, writers, fault);
      note("copy all", round, fault);
    }
    if (phase == 0 && full.AllArrived()) {
      // Every writer held: more lines were written than the cap keeps; the newest are kept, the page
      // shown is what is stored.
      const Lines held = storedLines(w);
      EXPECT_EQ(static_cast<long long>(held.size()), cap - 1);
      std::string heldError;
      const auto runs = kqtest::CheckWriterLines(kqtest::CompletedLines(held, heldError), writers, heldError);
      EXPECT_EQ(heldError, "");
      for (int t = 0; t < writers; ++t)
        EXPECT_EQ(runs[static_cast<size_t>(t)].last, long{fullAt} * linesPerCall - 1) << t;
      EXPECT_EQ(pageMismatch(w, hwnd, held, recorder.repaint(hwnd)), "");
      phase = 1, phaseRounds = 0;
      full.Release();
    } else if (phase == 1) {
      const bool last = lastClear.AllArrived();
      if (last || phaseRounds % 4 == 3)
        w.OnClearBuffer();
      if (last) {
        EXPECT_EQ(storedLines(w), Lines{""});
        phase = 2, phaseRounds = 0;
        lastClear.Release();
      }
    }
    // Until the writers have made this round's calls, or wait at a pause, or are done.
    const long target = (round + 1) * writers * callsPerRound;
    while (callsMade.load() < target && !(phase == 0 && full.AllArrived()) &&
           !(phase == 1 && lastClear.AllArrived()) && finished.load() < writers) {
      kqtest::PumpPending();
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
  }
  for (auto& t : threads)
    t.join();
  EXPECT_EQ(error, "");

  // Everything written after the last clear, whole and in each writer's order; the last page painted is
  // the stored one; the saved file holds the stored lines.
  kqtest::PumpPending();
  send(WM_VSCROLL, SB_BOTTOM);
  const Lines stored = storedLines(w);
  EXPECT_EQ(stored.size(), static_cast<size_t>(writers * (calls - lastClearAt) * linesPerCall + 1));
  std::string storedError;
  const auto runs =
      kqtest::CheckWriterLines(kqtest::CompletedLines(stored, storedError), writers, storedError);
  EXPECT_EQ(storedError, "");
  for (int t = 0; t < writers; ++t) {
    EXPECT_EQ(runs[static_cast<size_t>(t)].first, long{lastClearAt} * linesPerCall) << t;
    EXPECT_EQ(runs[static_cast<size_t>(t)].last, long{calls} * linesPerCall - 1) << t;
  }
  recorder.take();
  const auto lastPage = recorder.repaint(hwnd);
  EXPECT_GT(lastPage.size(), 2u);
  EXPECT_EQ(pageMismatch(w, hwnd, stored, lastPage), "");
  std::string saveError;
  ASSERT_EQ(w.SaveAs(path.c_str()), 1);
  EXPECT_EQ(savedRecords(path, saveError), stored);
  EXPECT_EQ(saveError, "");
  ::DeleteFileA(path.c_str());
}
