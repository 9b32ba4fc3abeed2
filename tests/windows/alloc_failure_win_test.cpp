// Memory running out inside kqmfc.dll, each operation with its 1st, 2nd, ... allocation failing until a run
// reaches none: the documented result, no lock held, old data kept, every block and handle given back.
#include "kqdiagnostics.h"
#include "window_test_util.h" // the framework before <windows.h>

#include "failing_allocator.h"
#include "line_list.h"

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

// Runs `body` on a new thread while this one pumps; `bare`: every allocation fails from its start.
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

// An output window holding "old1\nold2\npartial", a child of a host window, for the length of `use`.
bool withWindow(const std::function<bool(COutputWindow&)>& use) {
  const kqtest::HostedWindow<kqtest::OutputKind> host;
  if (host.window == nullptr)
    return ADD_FAILURE() << "window not created", false;
  host.window->Display("old1\nold2\npartial", 17);
  return use(*host.window);
}

// Display, direct or by a log buffer's destructor flush (nothing escapes): CMemoryException* after the bytes
// before the failure are stored, the lock released, later calls work; run(LONG_MAX) records the clean result.
std::function<bool(long)> display(bool byLogBuffer) {
  return [byLogBuffer, clean = std::string()](long n) mutable {
    return withWindow([&](COutputWindow& window) {
      KQMFCLogBuffer* logBuffer = nullptr;
      if (byLogBuffer) {
        logBuffer = new KQMFCLogBuffer;
        logBuffer->setWnd(&window);
        std::ostream(logBuffer) << manyLines.substr(0, 1000); // pending: a destructor's last flush
      }
      bool threw = false;
      const bool hit = failing(n, [&] {
        try {
          byLogBuffer ? delete logBuffer
                      : window.Display(manyLines.data(), static_cast<int>(manyLines.size()));
        } catch (CMemoryException* e) {
          e->Delete();
          threw = true;
        }
      });
      EXPECT_EQ(threw, hit && !byLogBuffer);
      EXPECT_TRUE(unlocked(window.m_lock));
      const std::string stored = joined(linesOf(window.m_lines));
      clean = n == LONG_MAX ? stored : clean;
      EXPECT_EQ(stored.rfind("old1\nold2\npartial", 0), 0u) << stored; // the lines from before stay
      EXPECT_EQ(stored, hit ? clean.substr(0, stored.size()) : clean); // then what a clean run stores
      window.Display("\nnext\n", 6);                                   // and the window goes on
      EXPECT_EQ(linesOf(window.m_lines).rbegin()[1], "next");
      return hit;
    });
  };
}

// KQCopyAll: 0 when any of its allocations fails, the lock released and the lines left.
bool copyAll(long n) {
  return withWindow([n](COutputWindow& window) {
    long copied = -1;
    const bool hit = failing(n, [&] { copied = KQCopyAll(window); });
    EXPECT_EQ(copied, hit ? 0 : 1);
    EXPECT_TRUE(unlocked(window.m_lock));
    EXPECT_EQ(joined(linesOf(window.m_lines)), "old1\nold2\npartial");
    return hit;
  });
}

// A thread's first GetDebugThreadInfo with no record yet: std::bad_alloc; a later call tries again.
bool firstRecord(long n) {
  bool hit = false, threw = false;
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
        KQDebugInfo& info = GetDebugThreadInfo(); // a later call makes the record
        EXPECT_TRUE(&GetDebugThreadInfo() == &info && info.criticalErrorsHidden == 0);
        EXPECT_TRUE(info.CriticalErrorStream() << "usable");
      },
      true);
  EXPECT_EQ(threw, hit);
  return hit;
}

// A critical error: nothing escapes; the box shows what was stored, or, not shown, silences the thread.
std::string box(const std::string& description) {
  return description + "\nFichier :\tf.cpp\nLigne   :\t42\nDate    :\td\n\nVoulez vous voir les prochains "
                       "messages ?\n";
}
bool criticalError(long n) {
  bool hit = false, escaped = false;
  kqtest::SeenDialog first, second;
  int hidden = -1;
  const std::string description = "Disque plein: " + std::string(200, 'd');
  onThread([&] {
    KQDebugInfo& info = GetDebugThreadInfo();
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
  EXPECT_TRUE(hit || first.found);
  EXPECT_TRUE(!first.found ||
              (hit ? box(description).rfind(first.text, 0) == 0 : first.text == box(description)))
      << first.text;
  EXPECT_EQ(hidden, first.found ? 0 : 1);
  EXPECT_EQ(second.found, hidden == 0);
  EXPECT_TRUE(hidden != 0 || second.text == box("next")) << second.text;
  return hit;
}

DWORD handleCount() {
  DWORD count = 0;
  ::GetProcessHandleCount(::GetCurrentProcess(), &count);
  return count;
}
} // namespace

// A clean run (lazy runtime state made, result recorded), then one per failing allocation; least counts.
TEST(AllocationFailure, EachAllocationFailingInTurnGivesTheDocumentedResult) {
  kqtest::FailingAllocator hooks;
  ASSERT_TRUE(hooks.covers());
  allocator = &hooks;
  const struct {
    const char* name;
    long leastAllocations;
    std::function<bool(long)> run;
  } operations[] = {{"Display", 30, display(false)},
                    {"log buffer's last flush", 30, display(true)},
                    {"KQCopyAll", 1, copyAll},
                    {"first record", 2, firstRecord},
                    {"critical error", 3, criticalError}};
  const auto failures = [] {
    return testing::UnitTest::GetInstance()->current_test_info()->result()->total_part_count();
  };
  for (const auto& operation : operations) {
    SCOPED_TRACE(operation.name);
    const int failuresBefore = failures();
    EXPECT_FALSE(operation.run(LONG_MAX));
    hooks.forget();
    long n = 0;
    for (bool hit = true; hit && n < 5000 && failures() == failuresBefore; ++n) {
      SCOPED_TRACE("allocation " + std::to_string(n) + " failing");
      const DWORD handlesBefore = handleCount();
      hit = operation.run(n);
      EXPECT_EQ(hooks.live(), 0u); // nothing taken during the operation is kept once its objects are gone
      hooks.forget();
      EXPECT_EQ(handleCount(), handlesBefore);
    }
    EXPECT_TRUE(failures() != failuresBefore || n > operation.leastAllocations) << n << " allocations";
  }
  allocator = nullptr;
}

// A paint whose row copy gets no block draws the same rows under the lock; a clean one after releasing it.
TEST(RowsWithoutMemory, PaintDrawsTheRowsUnderTheLock) {
  kqtest::FailingAllocator hooks;
  ASSERT_TRUE(hooks.covers());
  withWindow([&](COutputWindow& window) {
    std::string text;
    for (int i = 0; i < 100; ++i)
      text += std::to_string(i) + " " + std::string(100, static_cast<char>('a' + i % 26)) + "\n";
    window.Display(text.data(), static_cast<int>(text.size()));
    ::SendMessageA(window.GetSafeHwnd(), WM_VSCROLL, SB_TOP, 0);
    kqtest::Settle(window.GetSafeHwnd());
    kqtest::TextOutRecorder recorder(&window.m_lock);
    const std::vector<kqtest::DrawnText> clean = recorder.repaint(window.GetSafeHwnd());
    EXPECT_GT(clean.size(), 5u);
    size_t bytes = 0;
    for (const kqtest::DrawnText& d : clean) {
      EXPECT_FALSE(d.locked) << d.y;
      bytes += d.text.size();
    }
    hooks.armSize(bytes + 1); // the copy's one block for the rows' characters and a terminator
    const std::vector<kqtest::DrawnText> fallback = recorder.repaint(window.GetSafeHwnd());
    EXPECT_TRUE(hooks.disarm()) << "the copy's block was not asked for";
    EXPECT_EQ(fallback.size(), clean.size());
    for (size_t i = 0; i < clean.size() && i < fallback.size(); ++i)
      EXPECT_TRUE(fallback[i].x == clean[i].x && fallback[i].y == clean[i].y &&
                  fallback[i].text == clean[i].text && fallback[i].locked)
          << "row " << i << ": " << fallback[i].text;
    EXPECT_TRUE(unlocked(window.m_lock));
    return true;
  });
}
