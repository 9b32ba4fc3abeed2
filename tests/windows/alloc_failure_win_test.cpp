// Memory running out inside kqmfc.dll, where only the DLL can show it: the record taken from the local
// heap, the critical-error box, the log buffer's last flush in its destructor, the output window's lock
// released and the framework's exception passed out of the DLL, and painting when the rows cannot be
// copied. Each operation runs once with its first allocation failing, once with its second, and so on
// until a run reaches no failing allocation (failing_allocator.h says which allocations count). Every run
// must give the documented result, leave no lock held, keep the data from before, and give back every
// block and handle it took once its objects are released. The platform-free parts that allocate (line
// store, input queue, row copy) are tested natively.
#include "kqdiagnostics.h"
#include "kqwindowsex.h"

#include "failing_allocator.h"
#include "line_list.h"
#include "window_test_util.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

namespace {
kqtest::FailingAllocator* allocator = nullptr;

// Runs `operation` on the calling thread with its n-th allocation failing; true when it reached it.
bool failing(long n, const std::function<void()>& operation) {
  allocator->arm(n);
  operation();
  return allocator->disarm();
}

// Runs `body` on a new thread while this thread handles its windows' messages. With `bare` set, the
// thread starts with every allocation failing, so that the library cannot make its record when the
// thread attaches; `body` disarms first.
void onThread(const std::function<void()>& body, bool bare = false) {
  HANDLE thread = ::CreateThread(
      nullptr, 0, [](void* p) -> DWORD { return (*static_cast<const std::function<void()>*>(p))(), 0; },
      const_cast<std::function<void()>*>(&body), CREATE_SUSPENDED, nullptr);
  ASSERT_NE(thread, nullptr);
  if (bare)
    allocator->arm(0, true, ::GetThreadId(thread));
  ::ResumeThread(thread);
  EXPECT_TRUE(kqtest::WaitPumping(thread, 60000));
  ::CloseHandle(thread);
}

bool unlocked(KQCriticalSection& lock) {
  const auto& section = reinterpret_cast<const CRITICAL_SECTION&>(lock);
  return section.OwningThread == nullptr && section.RecursionCount == 0;
}
bool heldHere(KQCriticalSection& lock) {
  const auto& section = reinterpret_cast<const CRITICAL_SECTION&>(lock);
  return section.OwningThread == reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(::GetCurrentThreadId()));
}

// The lines, each but the last followed by a line feed.
std::string joined(const Lines& lines) {
  std::string all;
  for (const std::string& line : lines)
    all += (all.empty() && &line == &lines.front() ? "" : "\n") + line;
  return all;
}

// One operation: prepare() builds its objects, run(n) performs it with allocation n failing and checks
// the result, release() destroys the objects. run gives whether allocation n was reached.
struct Scenario {
  virtual ~Scenario() = default;
  virtual void prepare() {}
  virtual bool run(long n) = 0;
  virtual void release() {}
};

// Some thirty lines, a run longer than two lines, tabs: several completions and new node blocks.
const std::string manyLines = [] {
  std::string t = "first\n";
  for (int i = 0; i < 30; ++i)
    t += "line " + std::to_string(i) + "\tx\n";
  return t + std::string(300, 'r') + "\tafter tab\n\tlast";
}();

// The output window's Display, called directly or by the final flush of a log buffer's destructor (which
// must let nothing escape). Documented: CMemoryException* after the bytes before the failure are stored;
// the lock released; later calls work.
template <bool byLogBuffer> struct DisplayScenario : Scenario {
  static constexpr long leastAllocations = 30;
  void prepare() override {
    parent = ::CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400, nullptr,
                               nullptr, nullptr, nullptr);
    window = new COutputWindow;
    ASSERT_TRUE(kqtest::OutputKind::create(*window, parent));
    window->Display("old1\nold2\npartial", 17);
    if constexpr (byLogBuffer) {
      logBuffer = new KQMFCLogBuffer;
      logBuffer->setWnd(window);
      std::ostream(logBuffer) << manyLines.substr(0, 1000); // pending: a destructor's last flush
    }
  }
  bool run(long n) override {
    bool threw = false;
    const bool hit = failing(n, [&] {
      try {
        if constexpr (byLogBuffer)
          delete logBuffer;
        else
          window->Display(manyLines.data(), static_cast<int>(manyLines.size()));
      } catch (CMemoryException* e) {
        e->Delete();
        threw = true;
      }
    });
    EXPECT_EQ(threw, hit && !byLogBuffer);
    EXPECT_TRUE(unlocked(window->m_lock));
    const std::string stored = joined(linesOf(window->m_lines));
    if (n == LONG_MAX)
      clean = stored;
    EXPECT_EQ(stored.rfind("old1\nold2\npartial", 0), 0u) << stored; // the lines from before stay
    EXPECT_EQ(stored, hit ? clean.substr(0, stored.size()) : clean); // then what a clean run stores
    window->Display("\nnext\n", 6);                                  // and the window goes on
    const Lines later = linesOf(window->m_lines);
    EXPECT_EQ(later[later.size() - 2], "next");
    return hit;
  }
  void release() override {
    ::DestroyWindow(window->GetSafeHwnd()); // the frame deletes itself
    ::DestroyWindow(parent);
    kqtest::PumpPending();
  }
  HWND parent = nullptr;
  COutputWindow* window = nullptr;
  KQMFCLogBuffer* logBuffer = nullptr;
  std::string clean;
};

// KQCopyAll of the output window: the rows copied under its lock, formatted after it. Documented: 0 when
// no memory can be had, nothing thrown, the lock released, the lines as they were.
struct CopyScenario : DisplayScenario<false> {
  static constexpr long leastAllocations = 2; // the copied rows and the clipboard text, at least
  bool run(long n) override {
    int copied = -1;
    const bool hit = failing(n, [&] { copied = KQCopyAll(*window); });
    EXPECT_EQ(copied, hit ? 0 : 1);
    EXPECT_TRUE(unlocked(window->m_lock));
    EXPECT_EQ(joined(linesOf(window->m_lines)), "old1\nold2\npartial");
    return hit;
  }
};

// The first GetDebugThreadInfo of a thread that has no record (none could be made when it attached).
// Documented: std::bad_alloc, no record, and a later call tries again.
struct FirstRecordScenario : Scenario {
  static constexpr long leastAllocations = 2;
  bool run(long n) override {
    bool hit = false, threw = false;
    long allocations = 0;
    onThread(
        [&] {
          allocator->disarm();
          hit = failing(n, [&] {
            try {
              GetDebugThreadInfo();
            } catch (const std::bad_alloc&) {
              threw = true;
            }
          });
          allocations = allocator->allocations();
          KQDebugInfo& info = GetDebugThreadInfo(); // a later call makes the record
          EXPECT_EQ(&GetDebugThreadInfo(), &info);
          EXPECT_EQ(info.criticalErrorsHidden, 0);
          EXPECT_TRUE(info.CriticalErrorStream() << "usable");
        },
        true);
    EXPECT_EQ(threw, hit);
    if (!hit) {
      EXPECT_GE(allocations, 2); // the record and its stream's array: the thread had no record
    }
    return hit;
  }
};

// A critical error written and shown. Documented: nothing escapes; the box shows what could be stored; a
// box that cannot be shown silences the thread; afterwards the stream starts afresh for the next error.
struct CriticalErrorScenario : Scenario {
  static constexpr long leastAllocations = 3;
  static std::string box(const std::string& description) {
    return description + "\nFichier :\tf.cpp\nLigne   :\t42\nDate    :\td\n\nVoulez vous voir les prochains "
                         "messages ?\n";
  }
  bool run(long n) override {
    bool hit = false, escaped = false;
    kqtest::SeenDialog first, second;
    int hidden = -1;
    onThread([&] {
      KQDebugInfo& info = GetDebugThreadInfo();
      const std::string description = "Disque plein: " + std::string(200, 'd');
      {
        kqtest::DialogWatcher watcher({.command = IDYES});
        hit = failing(n, [&] {
          try {
            info.CriticalErrorStream() << description;
            info.displayCriticalError("f.cpp", 42, "d");
          } catch (...) {
            escaped = true;
          }
        });
        watcher.StopWaiting();
        first = watcher.Result();
      }
      hidden = info.criticalErrorsHidden;
      kqtest::DialogWatcher watcher({.command = IDYES, .timeoutMs = hidden != 0 ? 500u : 30000u});
      info.CriticalErrorStream() << "next";
      info.displayCriticalError("f.cpp", 42, "d");
      watcher.StopWaiting();
      second = watcher.Result();
    });
    EXPECT_FALSE(escaped);
    const std::string full = box("Disque plein: " + std::string(200, 'd'));
    if (!hit) {
      EXPECT_TRUE(first.found && first.text == full) << first.text;
    } else if (first.found) {
      EXPECT_EQ(full.rfind(first.text, 0), 0u) << first.text; // what could be stored
    }
    EXPECT_EQ(hidden, first.found ? 0 : 1);
    EXPECT_EQ(second.found, hidden == 0);
    if (hidden == 0) {
      EXPECT_EQ(second.text, box("next"));
    }
    return hit;
  }
};

template <class S> class AllocationFailure : public testing::Test {};
using Scenarios = testing::Types<DisplayScenario<false>, DisplayScenario<true>, CopyScenario,
                                 FirstRecordScenario, CriticalErrorScenario>;
TYPED_TEST_SUITE(AllocationFailure, Scenarios);

DWORD handleCount() {
  DWORD count = 0;
  ::GetProcessHandleCount(::GetCurrentProcess(), &count);
  return count;
}

TYPED_TEST(AllocationFailure, EachAllocationFailingInTurnGivesTheDocumentedResult) {
  kqtest::FailingAllocator hooks;
  ASSERT_TRUE(hooks.covers());
  allocator = &hooks;
  TypeParam scenario;
  // A first run without failure: lazily made runtime state is made, and the clean result recorded.
  scenario.prepare();
  ASSERT_FALSE(scenario.run(LONG_MAX));
  scenario.release();
  hooks.forget();
  long n = 0;
  for (; n < 5000 && !this->HasFailure(); ++n) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " failing");
    const DWORD handlesBefore = handleCount();
    scenario.prepare();
    const bool hit = scenario.run(n);
    scenario.release();
    EXPECT_EQ(hooks.live(), 0u); // nothing taken during the operation is kept once its objects are gone
    hooks.forget();
    EXPECT_EQ(handleCount(), handlesBefore);
    if (!hit)
      break;
  }
  EXPECT_GE(n, TypeParam::leastAllocations); // the hooks saw the operation's allocations
  allocator = nullptr;
}
} // namespace

// One TextOutA call of a paint, and whether the window's lock was held by the painting thread then.
struct Drawn {
  int x, y;
  std::string text;
  bool locked;
};
std::vector<Drawn> drawn;
COutputWindow* painted = nullptr;
BOOL WINAPI recordTextOut(HDC dc, int x, int y, LPCSTR text, int count) {
  drawn.push_back({x, y, std::string(text, static_cast<size_t>(count)), heldHere(painted->m_lock)});
  return ::TextOutA(dc, x, y, text, count);
}

// A paint whose copy of the rows cannot have its block: the same rows are drawn, under the lock, and the
// lock is released afterwards. A clean paint draws after releasing it.
TEST(PaintWithoutMemory, DrawsTheRowsUnderTheLockAndReleasesIt) {
  kqtest::FailingAllocator hooks;
  ASSERT_TRUE(hooks.covers());
  const HWND parent = ::CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400,
                                        nullptr, nullptr, nullptr, nullptr);
  painted = new COutputWindow;
  ASSERT_TRUE(kqtest::OutputKind::create(*painted, parent));
  std::string text;
  for (int i = 0; i < 100; ++i)
    text += std::to_string(i) + " " + std::string(100, static_cast<char>('a' + i % 26)) + "\n";
  painted->Display(text.data(), static_cast<int>(text.size()));
  ::SendMessageA(painted->GetSafeHwnd(), WM_VSCROLL, SB_TOP, 0);
  kqtest::Settle(painted->GetSafeHwnd());
  kqtest::IatHook hook("kqafx.dll", "gdi32.dll", "TextOutA", reinterpret_cast<void*>(&recordTextOut));
  ASSERT_TRUE(hook.installed());
  auto paint = [] {
    drawn.clear();
    drawn.reserve(200); // no allocation of the record's own while the copy's fails
    ::InvalidateRect(painted->GetSafeHwnd(), nullptr, TRUE);
    ::UpdateWindow(painted->GetSafeHwnd());
    return drawn;
  };
  const std::vector<Drawn> clean = paint();
  ASSERT_GT(clean.size(), 5u);
  size_t bytes = 0;
  for (const Drawn& d : clean) {
    EXPECT_FALSE(d.locked) << d.y;
    bytes += d.text.size();
  }
  hooks.armSize(bytes + 1); // the copy's one block for the rows' characters and a terminator
  const std::vector<Drawn> fallback = paint();
  EXPECT_TRUE(hooks.disarm()) << "the copy's block was not asked for";
  ASSERT_EQ(fallback.size(), clean.size());
  for (size_t i = 0; i < clean.size(); ++i) {
    EXPECT_TRUE(fallback[i].x == clean[i].x && fallback[i].y == clean[i].y &&
                fallback[i].text == clean[i].text)
        << "row " << i << ": " << fallback[i].text;
    EXPECT_TRUE(fallback[i].locked) << "row " << i;
  }
  EXPECT_TRUE(unlocked(painted->m_lock));
  ::DestroyWindow(painted->GetSafeHwnd());
  ::DestroyWindow(parent);
  kqtest::PumpPending();
}
