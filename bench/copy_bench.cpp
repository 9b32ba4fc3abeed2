// Copying a full output window to the clipboard: KQCopyAll of 29,999 lines with four threads appending to
// the window as fast as they can, against the same copy with no writer. The lines are copied under the
// window's lock and formatted after it, so the writers wait for the copy only; the ratio shows what the
// writers' lock traffic and scroll-bar calls cost a copy.
//
// Usage: copy_bench [copies per measurement, default 10]
#include "kqwindowsex.h"
#include "win_bench.h"

#include <atomic>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
constexpr int writers = 4;
constexpr int linesPerWriter = 20000; // per measurement

// Milliseconds per copy of every kept line, `copies` copies, dispatching messages between them (the
// writers' scroll-bar calls are answered there). Negative when a copy fails.
double copyMilliseconds(COutputWindow& window, int copies) {
  double total = 0;
  for (int i = 0; i < copies; ++i) {
    kqbench::pumpPending();
    int copied = 0;
    total += kqbench::seconds([&] { copied = KQCopyAll(window); });
    if (copied != 1)
      return -1;
  }
  return total * 1e3 / copies;
}
} // namespace

int main(int argc, char** argv) {
  const int copies = argc > 1 ? std::atoi(argv[1]) : 10;
  kqbench::describeDisplay();
  auto* window = new COutputWindow;
  if (!window->Create("copy")) {
    std::printf("# the output window could not be created\n");
    return 1;
  }
  std::string text;
  for (int i = 0; i < 29998; ++i)
    text += "seed line " + std::to_string(i) + " " + std::string(static_cast<size_t>(i % 120), 's') + "\n";
  window->Display(text.data(), static_cast<int>(text.size()));
  std::printf(
      "# copy all of %lld lines, %d copies per measurement, median of 5; %d writers of 70-byte lines\n",
      static_cast<long long>(window->m_lines.GetCount()), copies, writers);

  std::atomic<bool> stop{false};
  std::atomic<long long> appended{0};
  std::vector<double> alone, contended;
  for (int rep = 0; rep < 5; ++rep) {
    alone.push_back(copyMilliseconds(*window, copies));
    stop = false;
    std::vector<HANDLE> threads;
    struct Writer {
      COutputWindow* window;
      std::atomic<bool>* stop;
      std::atomic<long long>* appended;
      int index;
    };
    std::vector<Writer> args;
    for (int k = 0; k < writers; ++k)
      args.push_back({window, &stop, &appended, k});
    for (Writer& w : args)
      threads.push_back(::CreateThread(
          nullptr, 0,
          [](void* p) -> DWORD {
            auto* w = static_cast<Writer*>(p);
            const std::string line = "w" + std::to_string(w->index) + " " + std::string(66, 'a') + "\n";
            // Bounded: the copying thread dispatches the writers' scroll-bar calls between copies, and
            // with writers that never pause that dispatch would never run dry.
            for (int n = 0; n < linesPerWriter && !*w->stop; ++n) {
              w->window->Display(line.data(), static_cast<int>(line.size()));
              ++*w->appended;
            }
            return 0;
          },
          &w, 0, nullptr));
    contended.push_back(copyMilliseconds(*window, copies));
    stop = true;
    for (HANDLE thread : threads) {
      while (::MsgWaitForMultipleObjects(1, &thread, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
        kqbench::pumpPending();
      ::CloseHandle(thread);
    }
  }
  const double aloneMs = kqbench::median(alone), contendedMs = kqbench::median(contended);
  if (aloneMs < 0 || contendedMs < 0) {
    std::printf("# a copy failed (clipboard not opened, or no memory)\n");
    return 1;
  }
  std::printf("# %lld lines appended by the writers meanwhile\n", appended.load());
  kqbench::measure("copy.alone", aloneMs, "ms/copy", "copy all of a full output window, no writer");
  kqbench::measure("copy.with_writers", contendedMs, "ms/copy", "the same while 4 threads append");
  kqbench::ratio("copy_with_writers_vs_alone", contendedMs / aloneMs, nullptr, 0,
                 "copy time with 4 writers / copy time alone");
  ::DestroyWindow(window->GetSafeHwnd());
  kqbench::pumpPending();
  return 0;
}
