// Allocation failure injected at every allocation of a display call in turn. The store and the framework's
// string and list classes are linked into this executable, so the operator new below sees all of them.
#include "line_list.h"
#include "locked_lines.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>
#include <new>
#include <string>

namespace {
long failAt = -1; // n >= 0: the n-th allocation from now fails; below 0: none does
long seen = 0;
bool counting = false;
} // namespace

void* operator new(std::size_t size) {
  if (counting && failAt-- == 0)
    throw std::bad_alloc();
  seen += counting ? 1 : 0;
  if (void* p = std::malloc(size != 0 ? size : 1))
    return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
  return operator new(size);
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete[](void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  std::free(p);
}

namespace {
// A recursive lock that knows how deep it is held, so a test can see it released.
class CountingLock {
public:
  void lock() {
    mutex.lock();
    ++depth;
  }
  void unlock() {
    --depth;
    mutex.unlock();
  }
  int depth = 0;

private:
  std::recursive_mutex mutex;
};

// A window's list behind a counting lock, holding two completed lines and a current line.
struct Store {
  Store(int width, long long cap)
      : locked((lines.AddTail("old1"), lines.AddTail("old2"), lines.AddTail("partial"), lines), lock, width,
               cap) {}
  // Displays `t` with allocation `failure` failing (none when -1); the number of allocations made.
  long display(const std::string& t, long failure = -1) {
    seen = 0, failAt = failure, counting = true;
    struct Stop {
      ~Stop() { counting = false; }
    } stop;
    locked.display(t.data(), static_cast<int>(t.size()));
    return seen;
  }
  std::string joined() const {
    std::string all;
    for (const auto& l : linesOf(lines))
      all += l;
    return all;
  }
  CStringList lines;
  CountingLock lock;
  KQLockedLines<CountingLock> locked;
};

// Some thirty lines, a run longer than two lines, tabs at the width: many completions, several new node
// blocks and one new line buffer per completion.
const std::string text = [] {
  std::string t = "first\n";
  for (int i = 0; i < 30; ++i)
    t += "line " + std::to_string(i) + "\tx\n";
  return t + std::string(300, 'r') + std::string(137, 's') + "\tafter tab\n\tlast";
}();

// True when the display with allocation k failing throws what the framework throws: its memory exception
// from the string and list classes (the standard library's std::bad_alloc reaches no line store).
bool displayFails(Store& s, long k) {
  try {
    s.display(text, k);
  } catch (CMemoryException* e) {
    e->Delete();
    return true;
  }
  return false;
}
} // namespace

TEST(AllocationFailure, EachAllocationOfADisplayFailingInTurnKeepsTheStore) {
  for (const auto& [width, cap] : {std::pair{140, 30000LL}, std::pair{80, 65000LL}}) {
    Store clean(width, cap);
    const long total = clean.display(text);
    const std::string full = clean.joined();
    ASSERT_GT(total, 30);

    for (long k = 0; k < total; ++k) {
      Store s(width, cap);
      EXPECT_TRUE(displayFails(s, k)) << "allocation " << k;
      EXPECT_EQ(s.lock.depth, 0) << "allocation " << k;

      // Earlier lines intact; what was stored is the beginning of what a clean run stores.
      const Lines after = linesOf(s.lines);
      ASSERT_GE(after.size(), 3u);
      EXPECT_TRUE(after[0] == "old1" && after[1] == "old2") << "allocation " << k;
      const std::string stored = s.joined();
      EXPECT_GE(stored.size(), std::string("old1old2partial").size()) << "allocation " << k;
      EXPECT_EQ(stored, full.substr(0, stored.size())) << "allocation " << k;

      // The store goes on: the next call is stored whole and every line keeps within the width.
      s.display("\nnext\n");
      const Lines later = linesOf(s.lines);
      EXPECT_EQ(later[later.size() - 2], "next");
      for (size_t i = 0; i < later.size(); ++i)
        EXPECT_LE(later[i].size(), static_cast<size_t>(i + 1 < later.size() ? width : width - 1)) << i;
    }
  }
}

// Once the store is full, the dropped line's storage becomes the new line: no allocation at all.
TEST(AllocationFailure, AFullStoreAppendsWithoutAllocating) {
  Store s(140, 50);
  for (int i = 0; i < 60; ++i)
    s.display("filler\n");
  ASSERT_EQ(s.lines.GetCount(), 49);
  EXPECT_EQ(s.display(text), 0);
  const Lines lines = linesOf(s.lines);
  ASSERT_EQ(lines.size(), 49u);
  EXPECT_EQ(lines[47], std::string(17, 's') + "       after tab");
  EXPECT_EQ(lines[48], "        last");
}
