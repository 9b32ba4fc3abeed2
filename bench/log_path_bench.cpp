// Log path: lines per second from 1, 2, 4 and 8 threads writing 100-character lines, each ended by
// std::endl, through their own KQMFCLogBuffer into one COutputWindow that already holds 29,999 lines and
// shows the last one. The window's thread dispatches its messages (and so paints) while the writers run.
//
// Baselines, each on a fresh top-level window of the same size holding the same 29,999 lines, written
// to by threads in the same way:
//   floor    the view-update calls a Display makes (each bar asked for its range and position, none set
//            since none changes, the invalidation), once per line, on a COutputWindow, by as many threads
//            as the log path it is compared with;
//   list box a standard LISTBOX used as a capped log: LB_DELETESTRING of the oldest line, LB_ADDSTRING,
//            LB_SETTOPINDEX, one line's three messages under one lock;
//   EDIT     a multi-line EDIT control: EM_SETSEL at the end + EM_REPLACESEL, under one lock.
// The list box and EDIT are written to by 4 threads. The list box is also fed from its own thread (no
// cross-thread messages), for comparison, and the view update that sets both bars whatever they hold is
// measured (4 threads) to show what leaving them alone saves.
//
// Usage: log_path_bench [lines of one log path or floor run, shared among its writers, default 4000]
//        [list box lines per writer, default 200] [EDIT lines per writer, default 100]
// The baselines are much slower: fewer lines keep their runs short; each figure is a rate.
#include "kqdiagnostics.h"
#include "kqwindows.h"
#include "win_bench.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

namespace {
constexpr int writerCounts[] = {1, 2, 4, 8};
constexpr int writerCount = 4; // list box, EDIT and the every-bar update
constexpr int heldLines = 29999;
constexpr int windowWidth = 1000;
constexpr int windowHeight = 700;

// A 100-character line of writer `writer`.
std::string lineOf(int writer) {
  std::string line = "writer " + std::to_string(writer) + " says:";
  for (char c = 'a'; line.size() < 100; c = c == 'z' ? 'a' : static_cast<char>(c + 1))
    line += c;
  return line;
}

void place(HWND window) {
  ::SetWindowPos(window, HWND_TOP, 0, 0, windowWidth, windowHeight, SWP_SHOWWINDOW);
  ::UpdateWindow(window);
  kqbench::pumpPending();
}

// The 29,999 lines a window starts with, each followed by `end`.
std::string heldText(const char* end) {
  const std::string line = lineOf(9);
  std::string text;
  for (int i = 0; i < heldLines; ++i)
    text += line + end;
  return text;
}

// A COutputWindow holding 29,999 lines (the cap) and showing the last one.
COutputWindow* fullOutputWindow(const char* title) {
  auto* window = new COutputWindow;
  if (window->Create(title) == 0) { // no display: without the headless driver, Wine has none here
    std::printf("# the output window \"%s\" could not be created\n", title);
    std::exit(1);
  }
  place(window->GetSafeHwnd());
  const std::string line = lineOf(9) + "\n";
  std::string chunk;
  for (int i = 0; i < 100; ++i)
    chunk += line;
  for (int i = 0; i < heldLines / 100 + 1; ++i)
    window->Display(chunk.data(), static_cast<int>(chunk.size()));
  ::UpdateWindow(window->GetSafeHwnd());
  kqbench::pumpPending();
  if (window->m_lines.GetCount() != heldLines || window->m_vScrollPos != window->m_vScrollMax) {
    std::printf("# the output window holds %d lines, view at %d of %d\n",
                static_cast<int>(window->m_lines.GetCount()), window->m_vScrollPos, window->m_vScrollMax);
    std::exit(1);
  }
  return window;
}

void destroy(HWND window) {
  ::DestroyWindow(window);
  kqbench::pumpPending();
}

// Counts a window's WM_PAINT messages and the time its thread spends in them, by subclassing the window
// for the meter's lifetime (one meter at a time).
class PaintMeter {
public:
  explicit PaintMeter(HWND window) : window(window) {
    current = this;
    original = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Procedure)));
  }
  ~PaintMeter() {
    ::SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
    current = nullptr;
  }
  PaintMeter(const PaintMeter&) = delete;
  PaintMeter& operator=(const PaintMeter&) = delete;

  int paints = 0;
  double seconds = 0;

private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    PaintMeter* self = current;
    if (message != WM_PAINT)
      return ::CallWindowProcA(self->original, window, message, wParam, lParam);
    LRESULT result = 0;
    self->seconds += kqbench::seconds(
        [&] { result = ::CallWindowProcA(self->original, window, message, wParam, lParam); });
    ++self->paints;
    return result;
  }
  static inline PaintMeter* current = nullptr;
  HWND window;
  WNDPROC original = nullptr;
};

// Lines per second, and the share of the run the window's thread spent painting.
struct Rate {
  double lines;
  double painting;
};

Rate logPath(int writers, int linesPerWriter) {
  COutputWindow* window = fullOutputWindow("log path");
  auto write = [&](int writer) {
    const std::string line = lineOf(writer);
    KQMFCLogBuffer buffer;
    buffer.setWnd(window);
    std::ostream out(&buffer);
    for (int i = 0; i < linesPerWriter; ++i)
      out << line << std::endl;
    buffer.setWnd(nullptr);
  };
  auto meter = std::make_unique<PaintMeter>(window->GetSafeHwnd());
  const double s = kqbench::runWorkers(writers, write);
  const double painting = meter->seconds / s;
  meter.reset();
  const bool following = window->m_vScrollPos == window->m_vScrollMax;
  destroy(window->GetSafeHwnd());
  if (!following) {
    std::printf("# the view stopped following the last line\n");
    std::exit(1);
  }
  return Rate{writers * linesPerWriter / s, painting};
}

// What COutputWindow::Display does to the window after storing the text, with a full store that follows
// its last line: it asks each bar for its range and position, finds nothing to change and sets no bar,
// and invalidates the window.
Rate floor(int writers, int linesPerWriter) {
  COutputWindow* window = fullOutputWindow("floor");
  const HWND hwnd = window->GetSafeHwnd();
  auto ask = [hwnd](int bar) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_POS;
    ::GetScrollInfo(hwnd, bar, &info);
    kqbench::keep(&info);
  };
  auto update = [&](int) {
    for (int i = 0; i < linesPerWriter; ++i) {
      ask(SB_VERT);
      ask(SB_HORZ);
      window->InvalidateRect(nullptr, TRUE);
      ask(SB_VERT);
    }
  };
  auto meter = std::make_unique<PaintMeter>(hwnd);
  const double s = kqbench::runWorkers(writers, update);
  const double painting = meter->seconds / s;
  meter.reset();
  destroy(hwnd);
  return Rate{writers * linesPerWriter / s, painting};
}

// The same view update when every bar is set whatever it holds (both ranges and positions, and the
// vertical position once more): what leaving unchanged bars alone saves.
double everyBarSet(int linesPerWriter) {
  COutputWindow* window = fullOutputWindow("every bar set");
  const int vMax = window->m_vScrollMax;
  const int hMax = window->m_hScrollMax;
  const int hPos = window->m_hScrollPos;
  auto update = [&](int) {
    for (int i = 0; i < linesPerWriter; ++i) {
      window->SetScrollRange(SB_VERT, 0, vMax, FALSE);
      window->SetScrollPos(SB_VERT, vMax, TRUE);
      window->SetScrollRange(SB_HORZ, 0, hMax, FALSE);
      window->SetScrollPos(SB_HORZ, hPos, TRUE);
      window->InvalidateRect(nullptr, TRUE);
      window->SetScrollPos(SB_VERT, vMax, TRUE);
    }
  };
  const double s = kqbench::runWorkers(writerCount, update);
  destroy(window->GetSafeHwnd());
  return writerCount * linesPerWriter / s;
}

HWND standardControl(const char* windowClass, const char* title, DWORD style) {
  HWND window =
      ::CreateWindowExA(0, windowClass, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_VSCROLL | style, 0, 0,
                        windowWidth, windowHeight, nullptr, nullptr, nullptr, nullptr);
  ::SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(ANSI_FIXED_FONT)), FALSE);
  return window;
}

HWND fullListBox() {
  HWND box = standardControl("LISTBOX", "list box", LBS_NOINTEGRALHEIGHT);
  const std::string line = lineOf(9);
  for (int i = 0; i < heldLines; ++i)
    ::SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  ::SendMessageA(box, LB_SETTOPINDEX, heldLines - 1, 0);
  place(box);
  return box;
}

// One line into the capped list box: the oldest goes, the new one is added and shown.
void addToListBox(HWND box, const std::string& line) {
  ::SendMessageA(box, LB_DELETESTRING, 0, 0);
  const LRESULT index = ::SendMessageA(box, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
  ::SendMessageA(box, LB_SETTOPINDEX, static_cast<WPARAM>(index), 0);
}

double listBox(int linesPerWriter) {
  HWND box = fullListBox();
  std::mutex lock;
  auto write = [&](int writer) {
    const std::string line = lineOf(writer);
    for (int i = 0; i < linesPerWriter; ++i) {
      std::lock_guard<std::mutex> guard(lock);
      addToListBox(box, line);
    }
  };
  const double s = kqbench::runWorkers(writerCount, write);
  destroy(box);
  return writerCount * linesPerWriter / s;
}

// The same lines added on the list box's own thread, its messages dispatched after each line.
double listBoxOwnThread(int lines) {
  HWND box = fullListBox();
  const std::string line = lineOf(0);
  const double s = kqbench::seconds([&] {
    for (int i = 0; i < lines; ++i) {
      addToListBox(box, line);
      kqbench::pumpPending();
    }
  });
  destroy(box);
  return lines / s;
}

double editControl(int linesPerWriter) {
  HWND edit = standardControl("EDIT", "edit", WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL);
  ::SendMessageA(edit, EM_SETLIMITTEXT, 0x7FFFFFFE, 0);
  const std::string text = heldText("\r\n");
  ::SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  ::SendMessageA(edit, EM_SETSEL, INT_MAX, INT_MAX);
  ::SendMessageA(edit, EM_SCROLLCARET, 0, 0);
  place(edit);
  std::mutex lock;
  auto write = [&](int writer) {
    const std::string line = lineOf(writer) + "\r\n";
    for (int i = 0; i < linesPerWriter; ++i) {
      std::lock_guard<std::mutex> guard(lock);
      ::SendMessageA(edit, EM_SETSEL, INT_MAX, INT_MAX);
      ::SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
    }
  };
  const double s = kqbench::runWorkers(writerCount, write);
  const int length = ::GetWindowTextLengthA(edit);
  destroy(edit);
  const int expected = static_cast<int>(text.size()) + writerCount * linesPerWriter * 102;
  if (length != expected) {
    std::printf("# the EDIT control holds %d characters, expected %d\n", length, expected);
    std::exit(1);
  }
  return writerCount * linesPerWriter / s;
}
} // namespace

int main(int argc, char** argv) {
  const int linesPerRun = std::max(8, argc > 1 ? std::atoi(argv[1]) : 4000);
  const int listLinesPerWriter = std::max(1, argc > 2 ? std::atoi(argv[2]) : 200);
  const int editLinesPerWriter = std::max(1, argc > 3 ? std::atoi(argv[3]) : 100);
  kqbench::describeDisplay();
  std::printf(
      "# log path: %d lines of 100 characters + std::endl per run, shared among 1, 2, 4 or 8 writer threads,"
      " window holding %d lines, %dx%d; list box: %d x %d lines; EDIT: %d x %d lines\n",
      linesPerRun, heldLines, windowWidth, windowHeight, writerCount, listLinesPerWriter, writerCount,
      editLinesPerWriter);

  // The log path and the floor are close: at each thread count they are measured in five interleaved
  // rounds, medians taken.
  struct Figures {
    double log, floor, logPainting, floorPainting;
  };
  std::vector<Figures> figures;
  std::vector<double> everyBarRates;
  for (const int writers : writerCounts) {
    const int linesPerWriter = linesPerRun / writers;
    std::vector<double> floorRates, logRates, floorPainting, logPainting;
    for (int round = 0; round < 5; ++round) {
      const Rate floorRound = floor(writers, linesPerWriter);
      const Rate logRound = logPath(writers, linesPerWriter);
      floorRates.push_back(floorRound.lines);
      floorPainting.push_back(floorRound.painting);
      logRates.push_back(logRound.lines);
      logPainting.push_back(logRound.painting);
      if (writers == writerCount)
        everyBarRates.push_back(everyBarSet(linesPerWriter));
    }
    figures.push_back(Figures{kqbench::median(logRates), kqbench::median(floorRates),
                              kqbench::median(logPainting), kqbench::median(floorPainting)});
  }
  const double everyBarRate = kqbench::median(everyBarRates);
  const double listRate = listBox(listLinesPerWriter);
  const double listOwnRate = listBoxOwnThread(writerCount * listLinesPerWriter);
  const double editRate = editControl(editLinesPerWriter);

  double logRate = 0; // at 4 writers, against the list box and EDIT
  for (size_t i = 0; i < figures.size(); ++i) {
    const int writers = writerCounts[i];
    const Figures& f = figures[i];
    const std::string n = std::to_string(writers);
    const std::string threads = n + (writers == 1 ? " writer" : " writers");
    kqbench::measure(("log_path.kqmfc_" + n + "t").c_str(), f.log, "lines/s",
                     (threads + ", KQMFCLogBuffer + std::endl into COutputWindow").c_str());
    kqbench::measure(("log_path.floor_" + n + "t").c_str(), f.floor, "lines/s",
                     (threads + ", Display's view-update calls alone, once per line").c_str());
    kqbench::measure(("log_path.kqmfc_" + n + "t.painting").c_str(), 100 * f.logPainting, "%",
                     "share of the log path's run the window thread spent in WM_PAINT (the lines' lock "
                     "held only to copy the rows)");
    kqbench::measure(("log_path.floor_" + n + "t.painting").c_str(), 100 * f.floorPainting, "%",
                     "share of the floor's run the window thread spent in WM_PAINT");
    if (writers == writerCount)
      logRate = f.log;
  }
  kqbench::measure("log_path.every_bar_set", everyBarRate, "lines/s",
                   "4 threads, the view update setting both bars whatever they hold, once per line");
  kqbench::measure("log_path.listbox", listRate, "lines/s",
                   "4 threads, LB_DELETESTRING + LB_ADDSTRING + LB_SETTOPINDEX per line");
  kqbench::measure("log_path.listbox_own_thread", listOwnRate, "lines/s",
                   "the same list box fed on its own thread, messages dispatched after each line");
  kqbench::measure("log_path.edit", editRate, "lines/s", "4 threads, EM_SETSEL + EM_REPLACESEL per line");
  for (size_t i = 0; i < figures.size(); ++i) {
    const std::string n = std::to_string(writerCounts[i]);
    kqbench::ratio(("log_path.vs_floor_" + n + "t").c_str(), figures[i].floor / figures[i].log, "<=", 1.3,
                   ("time per line: log path / floor, " + n + " writer thread(s)").c_str());
  }
  kqbench::ratio("log_path.vs_listbox", logRate / listRate, ">=", 1.0,
                 "lines/s: log path / list box (4 writers)");
  kqbench::ratio("log_path.vs_listbox_own_thread", logRate / listOwnRate, nullptr, 0,
                 "lines/s: log path (4 writers) / list box on its own thread");
  kqbench::ratio("log_path.vs_edit", logRate / editRate, ">=", 10.0, "lines/s: log path / EDIT (4 writers)");
  return 0;
}
