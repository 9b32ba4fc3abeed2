// Painting at full store: the time to paint the last page of a CFastDisplayWnd holding 64,999 lines,
// against the same kind of window holding 100 lines. Each paint is a whole-client invalidation followed
// by UpdateWindow (background erase and WM_PAINT, on this thread). The two windows are shown in turn,
// each alone, and measured alternately.
//
// Usage: paint_bench [paints per measurement, default 300]
#include "kqwindows.h"
#include "win_bench.h"

#include <cstdlib>
#include <string>

namespace {
constexpr int clientWidth = 860;
constexpr int clientHeight = 640;

struct Shown {
  HWND parent = nullptr;
  CFastDisplayWnd window;
};

// A parent window with a fast display child holding `lines` lines (the current line included) of 79
// characters, showing its last page.
bool fill(Shown& shown, int lines, const char* title) {
  shown.parent = ::CreateWindowExA(0, "STATIC", title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   clientWidth + 40, clientHeight + 60, nullptr, nullptr, nullptr, nullptr);
  if (!shown.window.CreateEx(0, nullptr, "fast", WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL, 0, 0,
                             clientWidth, clientHeight, shown.parent, nullptr))
    return false;
  std::string line;
  for (int i = 0; i < 79; ++i)
    line += static_cast<char>('!' + i % 90);
  line += '\n';
  std::string chunk;
  for (int i = 0; i < 12; ++i)
    chunk += line;
  int written = 0;
  for (; written + 12 <= lines - 1; written += 12)
    shown.window.Display(chunk.data(), static_cast<int>(chunk.size()));
  for (; written < lines - 1; ++written)
    shown.window.Display(line.data(), static_cast<int>(line.size()));
  ::SendMessageA(shown.window.GetSafeHwnd(), WM_VSCROLL, SB_BOTTOM, 0);
  ::UpdateWindow(shown.parent);
  kqbench::pumpPending();
  return shown.window.m_lines.GetCount() == lines && shown.window.m_vScrollPos == shown.window.m_vScrollMax &&
         shown.window.m_vScrollMax > 0;
}

// Seconds per paint of the last page, with only `shown` visible.
double paintSeconds(Shown& shown, Shown& hidden, int paints) {
  ::ShowWindow(hidden.parent, SW_HIDE);
  ::ShowWindow(shown.parent, SW_SHOW);
  ::UpdateWindow(shown.parent);
  kqbench::pumpPending();
  HWND window = shown.window.GetSafeHwnd();
  return kqbench::seconds([&] {
           for (int i = 0; i < paints; ++i) {
             ::InvalidateRect(window, nullptr, TRUE);
             ::UpdateWindow(window);
           }
         }) /
         paints;
}
} // namespace

int main(int argc, char** argv) {
  const int paints = argc > 1 ? std::atoi(argv[1]) : 300;
  kqbench::describeDisplay();
  Shown full;
  Shown small;
  if (!fill(full, 64999, "full") || !fill(small, 100, "small")) {
    std::printf("# the windows could not be created or filled\n");
    return 1;
  }
  const int rows = small.window.m_clientHeight / small.window.m_lineHeight;
  std::printf("# painting: client %dx%d, %d rows of %d pixels; %d paints per measurement, median of 5\n",
              small.window.m_clientWidth, small.window.m_clientHeight, rows, small.window.m_lineHeight,
              paints);

  std::vector<double> fullTimes, smallTimes;
  for (int rep = 0; rep < 5; ++rep) {
    smallTimes.push_back(paintSeconds(small, full, paints));
    fullTimes.push_back(paintSeconds(full, small, paints));
  }
  const double fullPaint = kqbench::median(fullTimes);
  const double smallPaint = kqbench::median(smallTimes);
  kqbench::measure("paint.full_store", fullPaint * 1e6, "us/paint",
                   "last page of a window holding 64,999 lines");
  kqbench::measure("paint.small_store", smallPaint * 1e6, "us/paint",
                   "last page of a window holding 100 lines");
  kqbench::ratio("paint", fullPaint / smallPaint, "<=", 1.5, "paint time: 64,999 lines / 100 lines");
  ::DestroyWindow(full.parent);
  ::DestroyWindow(small.parent);
  kqbench::pumpPending();
  return 0;
}
