// Both text windows under load, on real windows under Wine: eight threads make 10,000 Display calls
// each into one window while the window's own thread paints, scrolls, clears, changes the font and (the
// output window) saves. Afterwards every kept line is whole and from one writer, the count kept the cap,
// everything written after the last clear is there in each writer's order, and a full repaint draws
// exactly the stored lines of the page. Prints the figures of each run.
//
// The output window locks its lines itself. The fast display window takes no lock, so here the host
// serialises it as its contract asks: writers hold a lock of the host's for each Display, the window's
// thread for everything it does with the window, message handling included.
#include "line_list.h"
#include "window_test_util.h"
#include "writer_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace {
constexpr int writers = 8, calls = 10000, linesPerCall = 2;
// The writers and the window's thread keep pace: a writer at call c waits until the window's thread has
// done (c - slack) / callsPerRound rounds, and the window's thread starts round r once the writers have
// made r * callsPerRound calls each on average, so the window's work is spread over the whole run and
// writers go on while one round takes long (the font dialog).
constexpr int callsPerRound = 100, slack = 500;

// The output window: its own lock guards its lines.
struct OutputStress {
  using Kind = kqtest::OutputKind;
  // Writers pause at fullAt (8 x 2000 x 2 lines: more than the cap keeps) and at lastClearAt, for the
  // last clear; what comes after (8 x 1800 x 2 lines) all fits.
  static constexpr int fullAt = 2000, lastClearAt = 8200;
  static constexpr bool saves = true;

  void display(COutputWindow& w, const std::string& text) {
    w.Display(text.data(), static_cast<int>(text.size()));
  }
  template <class Do> void onWindowThread(COutputWindow&, Do&& action) { action(); }
  void pump(COutputWindow&) { kqtest::PumpPending(); }
  Lines lines(COutputWindow& w) {
    std::lock_guard<KQCriticalSection> guard(w.m_lock);
    return linesOf(w.m_lines);
  }
  INT_PTR count(COutputWindow& w) {
    std::lock_guard<KQCriticalSection> guard(w.m_lock);
    return w.m_lines.GetCount();
  }
};

// The fast display window, serialised by the host.
struct FastStress {
  using Kind = kqtest::FastKind;
  // 8 x 4100 x 2 lines: more than the cap keeps; after the last clear 8 x 3500 x 2 lines.
  static constexpr int fullAt = 4100, lastClearAt = 6500;
  static constexpr bool saves = false;

  void display(CFastDisplayWnd& w, const std::string& text) {
    std::lock_guard<std::recursive_mutex> guard(host);
    w.Display(text.data(), static_cast<int>(text.size()));
  }
  // A writer holding the lock may be waiting for the window's thread (Display ends in scroll-bar calls
  // on the window), so the window's thread handles sent messages while it waits for the lock.
  template <class Do> void onWindowThread(CFastDisplayWnd&, Do&& action) {
    while (!host.try_lock()) {
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_SENDMESSAGE);
      MSG msg;
      ::PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
    std::lock_guard<std::recursive_mutex> guard(host, std::adopt_lock);
    action();
  }
  // Every message is handled under the lock (painting reads the lines).
  void pump(CFastDisplayWnd& w) {
    for (bool more = true; more;)
      onWindowThread(w, [&] {
        MSG msg;
        more = ::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE;
        if (more) {
          ::TranslateMessage(&msg);
          ::DispatchMessageA(&msg);
        }
      });
  }
  Lines lines(CFastDisplayWnd& w) {
    Lines copy;
    onWindowThread(w, [&] { copy = linesOf(w.m_lines); });
    return copy;
  }
  INT_PTR count(CFastDisplayWnd& w) {
    INT_PTR n = 0;
    onWindowThread(w, [&] { n = w.m_lines.GetCount(); });
    return n;
  }

  std::recursive_mutex host; // the window's thread takes it once per round, and again inside
};

// The records of a file written by SaveAs, the current line last; `error` set unless it ends with the
// extra line end.
Lines savedRecords(const std::string& path, std::string& error) {
  const std::string bytes = kqtest::FileBytes(path);
  Lines records;
  size_t start = 0;
  for (size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2)
    records.push_back(bytes.substr(start, end - start));
  if (start != bytes.size() || records.size() < 2 || !records.back().empty())
    error = "the saved file does not end with the extra line end";
  if (!records.empty())
    records.pop_back();
  return records;
}

// Empty when `drawn` is what a paint of the whole client area must draw from `lines`: from the line
// above the first one shown down to the line holding the client area's bottom edge, each whole at its
// row. Else what differs.
template <class Window>
std::string pageMismatch(const Window& w, HWND hwnd, const Lines& lines,
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

template <class Stress> class StressTest : public kqtest::TextWindowTest<typename Stress::Kind> {};
using Kinds = testing::Types<OutputStress, FastStress>;
} // namespace
TYPED_TEST_SUITE(StressTest, Kinds);

TYPED_TEST(StressTest, EightWritersWhileTheWindowPaintsScrollsClearsChangesFontAndSaves) {
  using Kind = typename TypeParam::Kind;
  TypeParam stress;
  auto& w = *this->window;
  const HWND hwnd = this->hwnd;
  const long long cap = Kind::cap;
  kqtest::WriterPause full(writers), lastClear(writers);
  kqtest::TextOutRecorder recorder;

  std::atomic<long> rounds{0}, callsMade{0};
  std::atomic<int> finished{0};
  const auto start = std::chrono::steady_clock::now();
  std::vector<std::thread> threads;
  for (int t = 0; t < writers; ++t)
    threads.emplace_back([&, t] {
      std::string text;
      for (int c = 0; c < calls; ++c) {
        if (c == TypeParam::fullAt)
          full.Arrive();
        if (c == TypeParam::lastClearAt)
          lastClear.Arrive();
        while (rounds.load() < (c - slack) / callsPerRound)
          ::Sleep(1);
        const long seq = static_cast<long>(c) * linesPerCall;
        text = kqtest::WriterLine(t, seq) + "\n" + kqtest::WriterLine(t, seq + 1) + "\n";
        stress.display(w, text);
        ++callsMade;
      }
      ++finished;
    });

  // The window's thread. Every line any paint draws must be whole (or the empty current line).
  std::string error;
  auto checkDrawn = [&](const std::vector<kqtest::DrawnText>& drawn) {
    for (const kqtest::DrawnText& d : drawn)
      if (!d.text.empty())
        kqtest::CheckWriterLines(Lines{d.text}, writers, error);
  };
  auto repaint = [&] {
    std::vector<kqtest::DrawnText> drawn;
    stress.onWindowThread(w, [&] { drawn = recorder.repaint(hwnd); });
    return drawn;
  };
  const std::string path = kqtest::TempPath("save.txt");
  std::mt19937 rng(7);
  long paints = 0, scrolls = 0, saved = 0, clears = 0, fonts = 0, phaseRounds = 0;
  int phase = 0;               // 0 until the cap is reached, 1 until the last clear, 2 after it
  const char* face = "Tahoma"; // installed by the set-up (fonts-wine); the colour alternates
  for (long round = 0; phase < 2 || finished.load() < writers; rounds = ++round, ++phaseRounds) {
    // A round holds the host's lock throughout (the fast display window): writers get it between rounds.
    stress.onWindowThread(w, [&] {
      stress.pump(w);
      checkDrawn(recorder.take());
      checkDrawn(repaint());
      ++paints;
      const UINT codes[] = {SB_LINEUP, SB_LINEDOWN, SB_PAGEUP,       SB_PAGEDOWN,
                            SB_TOP,    SB_BOTTOM,   SB_THUMBPOSITION};
      const UINT code = codes[rng() % std::size(codes)];
      ::SendMessageA(hwnd, WM_VSCROLL, MAKEWPARAM(code, rng() % 30000), 0);
      if (round % 4 == 0)
        ::SendMessageA(hwnd, WM_HSCROLL, MAKEWPARAM(rng() % 2 == 0 ? SB_LINERIGHT : SB_LEFT, 0), 0);
      ++scrolls;
      checkDrawn(recorder.take()); // the band the scroll uncovered
      if (const INT_PTR count = stress.count(w); (count < 1 || count > cap - 1) && error.empty())
        error = "round " + std::to_string(round) + ": " + std::to_string(count) + " lines stored";
      if constexpr (TypeParam::saves) {
        if (round % 16 == 0) {
          std::string saveError;
          if (w.SaveAs(path.c_str()) != 1)
            saveError = "SaveAs failed";
          const Lines records = savedRecords(path, saveError);
          if (static_cast<long long>(records.size()) > cap - 1)
            saveError = std::to_string(records.size()) + " records";
          kqtest::CheckWriterLines(kqtest::CompletedLines(records, saveError), writers, saveError);
          if (!saveError.empty() && error.empty())
            error = "round " + std::to_string(round) + ", saved file: " + saveError;
          ++saved;
        }
      }
      if ((phase == 0 && round == 5) || (phase == 1 && phaseRounds == 3)) {
        if (!kqtest::ChooseFont(w, face, fonts % 2 == 0 ? "Red" : "Blue", IDOK))
          error = "the font dialog did not take face and colour";
        ++fonts;
        checkDrawn(recorder.take());
      }
      if (phase == 0 && full.AllArrived()) {
        // Every writer held: more lines were written than the cap keeps; the newest are kept, the page
        // shown is what is stored.
        const Lines held = stress.lines(w);
        EXPECT_EQ(static_cast<long long>(held.size()), cap - 1);
        std::string heldError;
        const auto runs =
            kqtest::CheckWriterLines(kqtest::CompletedLines(held, heldError), writers, heldError);
        EXPECT_EQ(heldError, "");
        for (int t = 0; t < writers; ++t)
          EXPECT_EQ(runs[static_cast<size_t>(t)].last, long{TypeParam::fullAt} * linesPerCall - 1) << t;
        EXPECT_EQ(pageMismatch(w, hwnd, held, repaint()), "");
        phase = 1, phaseRounds = 0;
        full.Release();
      } else if (phase == 1) {
        const bool last = lastClear.AllArrived();
        if (last || phaseRounds % 4 == 3) {
          w.OnClearBuffer();
          ++clears;
        }
        if (last) {
          EXPECT_EQ(stress.lines(w), Lines{""});
          phase = 2, phaseRounds = 0;
          lastClear.Release();
        }
      }
    });
    // Until the writers have made this round's calls, or wait at a pause, or are done.
    const long target = (round + 1) * writers * callsPerRound;
    while (callsMade.load() < target && !(phase == 0 && full.AllArrived()) &&
           !(phase == 1 && lastClear.AllArrived()) && finished.load() < writers) {
      stress.pump(w);
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
  }
  const double elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  for (auto& t : threads)
    t.join();
  EXPECT_EQ(error, "");

  // Everything written after the last clear, whole and in each writer's order; the last page painted is
  // the stored one; the saved file holds the stored lines.
  stress.pump(w);
  stress.onWindowThread(w, [&] { ::SendMessageA(hwnd, WM_VSCROLL, SB_BOTTOM, 0); });
  const Lines stored = stress.lines(w);
  const auto kept = static_cast<size_t>(writers * (calls - TypeParam::lastClearAt) * linesPerCall + 1);
  EXPECT_EQ(stored.size(), kept);
  std::string storedError;
  const auto runs =
      kqtest::CheckWriterLines(kqtest::CompletedLines(stored, storedError), writers, storedError);
  EXPECT_EQ(storedError, "");
  for (int t = 0; t < writers; ++t) {
    EXPECT_EQ(runs[static_cast<size_t>(t)].first, long{TypeParam::lastClearAt} * linesPerCall) << t;
    EXPECT_EQ(runs[static_cast<size_t>(t)].last, long{calls} * linesPerCall - 1) << t;
  }
  recorder.take();
  const auto lastPage = repaint();
  EXPECT_GT(lastPage.size(), 2u);
  EXPECT_EQ(pageMismatch(w, hwnd, stored, lastPage), "");
  if constexpr (TypeParam::saves) {
    std::string saveError;
    ASSERT_EQ(w.SaveAs(path.c_str()), 1);
    EXPECT_EQ(savedRecords(path, saveError), stored);
    EXPECT_EQ(saveError, "");
    ::DeleteFileA(path.c_str());
  }

  const long long written = 1LL * writers * calls * linesPerCall;
  std::printf("stress %s: %d writers x %d Display calls x %d lines in %.2f s: %.0f calls/s, %.0f lines/s; "
              "window thread: %ld rounds, %ld paints, %ld scrolls, %ld saves, %ld clears, %ld font changes; "
              "%zu lines kept (cap %lld)\n",
              Kind::width == 140 ? "COutputWindow" : "CFastDisplayWnd", writers, calls, linesPerCall, elapsed,
              writers * calls / elapsed, static_cast<double>(written) / elapsed, rounds.load(), paints,
              scrolls, saved, clears, fonts, stored.size(), cap);
  std::fflush(stdout);
}
