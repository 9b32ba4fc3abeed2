// Allocation failure injected at every allocation of a display call in turn. The store and the
// framework's string and list classes are linked into this executable, so the replacement operator new
// below sees every allocation they make.
#include "line_list.h"
#include "locked_lines.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <mutex>
#include <new>
#include <string>

namespace {
long failAt = -1; // -1: allocations succeed; n >= 0: the n-th allocation from now fails
long seen = 0;
bool counting = false;
} // namespace

void* operator new(std::size_t size) {
  if (counting) {
    if (failAt == 0) {
      failAt = -1;
      throw std::bad_alloc();
    }
    if (failAt > 0)
      --failAt;
    ++seen;
  }
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

// The allocations of one call of f; with failure >= 0 that one fails.
template <class F> long allocationsOf(F f, long failure = -1) {
  seen = 0;
  failAt = failure;
  counting = true;
  struct Stop {
    ~Stop() { counting = false, failAt = -1; }
  } stop;
  f();
  return seen;
}

// Two completed lines and a current line, as a window shows after some text.
CStringList& withStartingLines(CStringList& list) {
  list.AddTail("old1");
  list.AddTail("old2");
  list.AddTail("partial");
  return list;
}

std::string joined(const Lines& lines) {
  std::string all;
  for (const auto& l : lines)
    all += l;
  return all;
}

// Some thirty lines, a run longer than two lines, tabs at the width: many completions, several new node
// blocks and one new line buffer per completion.
const std::string text = [] {
  std::string t = "first\n";
  for (int i = 0; i < 30; ++i)
    t += "line " + std::to_string(i) + "\tx\n";
  return t + std::string(300, 'r') + std::string(137, 's') + "\tafter tab\n\tlast";
}();
} // namespace

TEST(AllocationFailure, EachAllocationOfADisplayFailingInTurnKeepsTheStore) {
  for (const auto& [width, cap] : {std::pair{140, 30000LL}, std::pair{80, 65000LL}}) {
    CStringList cleanList;
    CountingLock cleanLock;
    KQLockedLines<CountingLock> clean(withStartingLines(cleanList), cleanLock, width, cap);
    const long total = allocationsOf([&] { clean.display(text.data(), static_cast<int>(text.size())); });
    const std::string full = joined(linesOf(cleanList));
    ASSERT_GT(total, 30);

    for (long k = 0; k < total; ++k) {
      CStringList list;
      CountingLock lock;
      KQLockedLines<CountingLock> store(withStartingLines(list), lock, width, cap);
      EXPECT_THROW(allocationsOf([&] { store.display(text.data(), static_cast<int>(text.size())); }, k),
                   std::bad_alloc)
          << "allocation " << k;
      EXPECT_EQ(lock.depth, 0) << "allocation " << k;

      // Earlier lines intact; what was stored is the beginning of what a clean run stores.
      const Lines after = linesOf(list);
      ASSERT_GE(after.size(), 3u);
      EXPECT_EQ(after[0], "old1");
      EXPECT_EQ(after[1], "old2");
      const std::string stored = joined(after);
      EXPECT_GE(stored.size(), std::string("old1old2partial").size()) << "allocation " << k;
      EXPECT_EQ(stored, full.substr(0, stored.size())) << "allocation " << k;

      // The store goes on: the next call is stored whole and every line keeps within the width.
      store.display("\nnext\n", 6);
      const Lines later = linesOf(list);
      EXPECT_EQ(later[later.size() - 2], "next");
      for (size_t i = 0; i < later.size(); ++i)
        EXPECT_LE(later[i].size(), static_cast<size_t>(i + 1 < later.size() ? width : width - 1)) << i;
    }
  }
}

// Once the store is full, the dropped line's storage becomes the new line: no allocation at all.
TEST(AllocationFailure, AFullStoreAppendsWithoutAllocating) {
  CStringList list;
  list.AddTail("");
  CountingLock lock;
  KQLockedLines<CountingLock> store(list, lock, 140, 50);
  for (int i = 0; i < 60; ++i)
    store.display("filler\n", 7);
  ASSERT_EQ(list.GetCount(), 49);
  EXPECT_EQ(allocationsOf([&] { store.display(text.data(), static_cast<int>(text.size())); }), 0);
  const Lines lines = linesOf(list);
  ASSERT_EQ(lines.size(), 49u);
  EXPECT_EQ(lines[47], std::string(17, 's') + "       after tab");
  EXPECT_EQ(lines[48], "        last");
}
