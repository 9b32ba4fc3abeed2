// Memory running out inside kqmfc.dll: each operation below runs once with its first allocation failing,
// once with its second failing, and so on until a run reaches no failing allocation (failing_allocator.h
// says which allocations count). Every run must give the operation's documented result, leave no lock
// held, keep the data from before, and give back every block it took once its objects are released.
#include "kqdiagnostics.h"
#include "kqmessages.h"
#include "kqwindows.h"

#include "failing_allocator.h"
#include "line_list.h"
#include "window_test_util.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdio>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>

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

// Display on either text window, called directly or by the final flush of a log buffer's destructor
// (which must let nothing escape). Documented: CMemoryException* after the bytes before the failure are
// stored; the lock released; later calls work.
template <class Kind, bool byLogBuffer = false> struct DisplayScenario : Scenario {
  void prepare() override {
    parent = ::CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 600, 400, nullptr,
                               nullptr, nullptr, nullptr);
    window = new typename Kind::Window;
    ASSERT_TRUE(Kind::create(*window, parent));
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
    if constexpr (std::is_same_v<Kind, kqtest::OutputKind>) {
      EXPECT_TRUE(unlocked(window->m_lock));
    }
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
    ::DestroyWindow(window->GetSafeHwnd());
    Kind::release(window);
    ::DestroyWindow(parent);
    kqtest::PumpPending();
  }
  HWND parent = nullptr;
  typename Kind::Window* window = nullptr;
  KQMFCLogBuffer* logBuffer = nullptr;
  std::string clean;
};

// The catalogue of a message file. Documented: std::bad_alloc, the entries stored until then kept.
struct SetFileScenario : Scenario {
  SetFileScenario() {
    std::ofstream out(path, std::ios::binary);
    for (int i = 1; i <= 600; ++i)
      out << i * 7 << "\t\"message " << i << (i % 3 == 0 ? "\\n" : "") << std::string(100, 'a' + i % 26)
          << "\"\n";
    out << "9999\t\"" << std::string(9000, 'L') << "\"\n"; // a text with a block of its own
  }
  ~SetFileScenario() override { std::remove(path); }
  static std::map<long, std::string> entries() {
    std::map<long, std::string> all;
    long key = 0;
    KQCString text;
    for (void* pos = theMessage.getStartPosition(); pos != nullptr;) {
      theMessage.getNextAssoc(pos, key, text);
      all[key] = text.data();
    }
    return all;
  }
  bool run(long n) override {
    theMessage.setAt(1, "earlier");
    int result = -1;
    const bool hit = failing(n, [&] {
      try {
        result = theMessage.setFile(path);
      } catch (const std::bad_alloc&) {
      }
    });
    EXPECT_EQ(result, hit ? -1 : 1);
    const auto stored = entries();
    if (n == LONG_MAX)
      clean = stored;
    EXPECT_EQ(stored.size(), theMessage.getCount());
    for (const auto& [key, text] : stored) { // each entry stored as a clean load stores it
      EXPECT_EQ(text, clean[key]) << key;
    }
    if (!hit) {
      EXPECT_EQ(stored, clean);
    }
    EXPECT_EQ(theMessage.setFile(path), 1); // a later load works
    EXPECT_EQ(entries(), clean);
    return hit;
  }
  void release() override { theMessage.removeAll(); }
  const char* path = "alloc_failure.msg";
  std::map<long, std::string> clean;
};

// An insertion into a message table (operator[] and the text of setAt). Documented: std::bad_alloc, the
// table as it was.
struct TableScenario : Scenario {
  explicit TableScenario(int before) : before(before) {}
  void prepare() override {
    table = std::make_unique<KQMessageTable>(2);
    for (int key = 1; key <= before; ++key)
      table->setAt(key, "earlier");
  }
  bool run(long n) override {
    bool threw = false;
    const bool hit = failing(n, [&] {
      try {
        table->setAt(100, "a text of the new entry");
      } catch (const std::bad_alloc&) {
        threw = true;
      }
    });
    EXPECT_EQ(threw, hit);
    EXPECT_EQ(table->getCount(), static_cast<size_t>(before + (hit ? 0 : 1)));
    KQCString text;
    EXPECT_EQ(table->lookup(100, text), hit ? 0 : 1);
    for (int key = 1; key <= before; ++key)
      EXPECT_TRUE(table->lookup(key, text) == 1 && std::string(text.data()) == "earlier") << key;
    (*table)[200] = "later"; // the table goes on
    EXPECT_TRUE(table->lookup(200, text) == 1 && std::string(text.data()) == "later");
    return hit;
  }
  void release() override { table.reset(); }
  const int before;
  std::unique_ptr<KQMessageTable> table;
};

// The first GetDebugThreadInfo of a thread that has no record (none could be made when it attached).
// Documented: std::bad_alloc, no record, and a later call tries again.
struct FirstRecordScenario : Scenario {
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

// SaveAs of an output window's lines. Documented: 1, every line written.
struct SaveAsScenario : Scenario {
  void prepare() override {
    window = std::make_unique<COutputWindow>();
    window->Display(manyLines.data(), static_cast<int>(manyLines.size()));
  }
  bool run(long n) override {
    int result = -1;
    const bool hit = failing(n, [&] { result = window->SaveAs(path); });
    EXPECT_EQ(result, 1);
    EXPECT_TRUE(unlocked(window->m_lock));
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string expected;
    for (const std::string& line : linesOf(window->m_lines))
      expected += line + "\r\n";
    EXPECT_EQ(text.str(), expected + "\r\n");
    return hit;
  }
  void release() override {
    window.reset();
    std::remove(path);
  }
  const char* path = "alloc_failure.txt";
  std::unique_ptr<COutputWindow> window;
};

struct Case {
  const char* name;
  std::function<std::unique_ptr<Scenario>()> make;
  long leastAllocations; // what the operation allocates at least, so that the hooks are seen to work
};

void PrintTo(const Case& c, std::ostream* out) {
  *out << c.name;
}

class AllocationFailure : public testing::TestWithParam<Case> {};

TEST_P(AllocationFailure, EachAllocationFailingInTurnGivesTheDocumentedResult) {
  kqtest::FailingAllocator hooks;
  ASSERT_TRUE(hooks.covers());
  allocator = &hooks;
  const std::unique_ptr<Scenario> scenario = GetParam().make();
  // A first run without failure: lazily made runtime state is made, and the clean result recorded.
  scenario->prepare();
  ASSERT_FALSE(scenario->run(LONG_MAX));
  scenario->release();
  hooks.forget();
  long n = 0;
  for (; n < 5000 && !HasFailure(); ++n) {
    SCOPED_TRACE("allocation " + std::to_string(n) + " failing");
    const DWORD handlesBefore = [] {
      DWORD count = 0;
      ::GetProcessHandleCount(::GetCurrentProcess(), &count);
      return count;
    }();
    scenario->prepare();
    const bool hit = scenario->run(n);
    scenario->release();
    EXPECT_EQ(hooks.live(), 0u); // nothing taken during the operation is kept once its objects are gone
    hooks.forget();
    DWORD handlesAfter = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &handlesAfter);
    EXPECT_EQ(handlesAfter, handlesBefore);
    if (!hit)
      break;
  }
  EXPECT_GE(n, GetParam().leastAllocations);
  std::printf("%s: %ld allocations, each failed in turn\n", GetParam().name, n);
  allocator = nullptr;
}

template <class S, class... A> std::function<std::unique_ptr<Scenario>()> make(A... a) {
  return [=] { return std::unique_ptr<Scenario>(new S(a...)); };
}

INSTANTIATE_TEST_SUITE_P(
    Operations, AllocationFailure,
    testing::Values(Case{"OutputWindowDisplay", make<DisplayScenario<kqtest::OutputKind>>(), 30},
                    Case{"FastDisplayDisplay", make<DisplayScenario<kqtest::FastKind>>(), 30},
                    Case{"LogBufferDestructor", make<DisplayScenario<kqtest::OutputKind, true>>(), 30},
                    Case{"SetFile", make<SetFileScenario>(), 60},
                    Case{"TableInsertionIntoAFullBlock", make<TableScenario>(2), 2},
                    Case{"TableFirstInsertion", make<TableScenario>(0), 3},
                    Case{"FirstGetDebugThreadInfo", make<FirstRecordScenario>(), 2},
                    Case{"CriticalError", make<CriticalErrorScenario>(), 3},
                    Case{"SaveAs", make<SaveAsScenario>(), 0}),
    [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });
} // namespace

// Once a window's store is full, the dropped line's storage becomes the new line: no allocation at all.
TEST(FullStore, AppendsWithoutAllocating) {
  kqtest::FailingAllocator hooks;
  ASSERT_TRUE(hooks.covers());
  auto check = [&](auto& window, int width, int cap) {
    std::string filler;
    for (int i = 0; i < cap + 10; ++i)
      filler += "filler\n";
    window.Display(filler.data(), static_cast<int>(filler.size()));
    hooks.arm(0, true); // every allocation fails
    try {
      window.Display(manyLines.data(), static_cast<int>(manyLines.size()));
    } catch (CMemoryException* e) {
      e->Delete();
    }
    EXPECT_FALSE(hooks.disarm()) << "the display allocated";
    const Lines lines = linesOf(window.m_lines);
    ASSERT_EQ(lines.size(), static_cast<size_t>(cap - 1));
    EXPECT_EQ(lines[lines.size() - 2], std::string(static_cast<size_t>(300 % width), 'r') + "    after tab");
    EXPECT_EQ(lines.back(), "        last");
  };
  check(*std::make_unique<COutputWindow>(), 140, 30000);
  check(*std::make_unique<CFastDisplayWnd>(), 80, 65000);
}
