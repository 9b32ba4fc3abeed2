// Memory: the peak working set that a full output window (29,999 lines of 140 characters) or a full fast
// display window (64,999 lines of 80 characters) adds to the process, against the raw text it holds.
// One window per process: `memory_bench output` or `memory_bench fast`. The window is created and
// painted first; the working set then is the starting point; the window is filled in pieces of whole
// lines (so the process never holds the text elsewhere), painted, and the peak working set
// (GetProcessMemoryInfo) taken. Raw text: the sum of the stored lines' lengths.
#include "kqwindows.h"
#include "win_bench.h"

#include <cstring>
#include <string>

namespace {
std::string pieceOf(int width, int lines) {
  std::string line;
  for (int i = 0; i < width; ++i)
    line += static_cast<char>('A' + i % 26);
  std::string piece;
  for (int i = 0; i < lines; ++i)
    piece += line; // a line that reaches the width is completed: no line feed needed
  return piece;
}

long long rawText(const CStringList& lines) {
  long long total = 0;
  for (POSITION p = lines.GetHeadPosition(); p != nullptr;)
    total += lines.GetNext(p).GetLength();
  return total;
}

void report(const char* key, const char* what, double start, long long raw, INT_PTR count) {
  kqbench::pumpPending();
  const kqbench::WorkingSet after = kqbench::workingSet();
  std::printf(
      "# %s: %lld lines, raw text %.2f MB; working set %.2f MB before filling, %.2f MB after, peak %.2f MB\n",
      what, static_cast<long long>(count), raw / 1e6, start / 1e6, after.current / 1e6, after.peak / 1e6);
  const std::string figure = std::string("memory.") + key;
  const std::string baseline = figure + ".raw_text";
  kqbench::measure(figure.c_str(), (after.peak - start) / 1e6, "MB",
                   "peak working set added by the full window");
  kqbench::measure(baseline.c_str(), raw / 1e6, "MB", "raw text held");
  kqbench::ratio(figure.c_str(), (after.peak - start) / static_cast<double>(raw), "<=", 2.0,
                 "peak working set added / raw text");
}

int outputWindow() {
  auto* window = new COutputWindow;
  if (window->Create("memory") == 0)
    return 1;
  kqbench::pumpPending();
  const double start = kqbench::workingSet().current;
  const std::string piece = pieceOf(140, 7);
  for (int i = 0; i < 30000 / 7 + 1; ++i)
    window->Display(piece.data(), static_cast<int>(piece.size()));
  window->Display("tail", 4); // the current line holds text too
  ::UpdateWindow(window->GetSafeHwnd());
  report("output_window", "output window", start, rawText(window->m_lines), window->m_lines.GetCount());
  ::DestroyWindow(window->GetSafeHwnd());
  return 0;
}

int fastDisplay() {
  HWND parent = ::CreateWindowExA(0, "STATIC", "memory", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 900, 700,
                                  nullptr, nullptr, nullptr, nullptr);
  CFastDisplayWnd window;
  if (!window.CreateEx(0, nullptr, "fast", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0, 860, 640,
                       parent, nullptr))
    return 1;
  ::UpdateWindow(parent);
  kqbench::pumpPending();
  const double start = kqbench::workingSet().current;
  const std::string piece = pieceOf(80, 12);
  for (int i = 0; i < 65000 / 12 + 1; ++i)
    window.Display(piece.data(), static_cast<int>(piece.size()));
  window.Display("tail", 4);
  ::SendMessageA(window.GetSafeHwnd(), WM_VSCROLL, SB_BOTTOM, 0);
  ::UpdateWindow(parent);
  report("fast_display", "fast display window", start, rawText(window.m_lines), window.m_lines.GetCount());
  ::DestroyWindow(parent);
  return 0;
}
} // namespace

int main(int argc, char** argv) {
  kqbench::describeDisplay();
  if (argc > 1 && std::strcmp(argv[1], "output") == 0)
    return outputWindow();
  if (argc > 1 && std::strcmp(argv[1], "fast") == 0)
    return fastDisplay();
  std::printf("usage: memory_bench output|fast\n");
  return 2;
}
