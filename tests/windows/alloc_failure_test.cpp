// Allocation failure injected at every allocation of a display call in turn. The store and the
// framework's string and list classes are linked statically into this executable, so the replacement
// operator new below sees every allocation they make.
#include "line_list.h"
#include "locked_lines.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <new>
#include <string>
#include <thread>

namespace {
// -1: allocations succeed. n >= 0: the n-th allocation from now fails (0 = the next one).
long failAt = -1;
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
  int heldDepth() const { return depth; }
  std::recursive_mutex mutex;

private:
  int depth = 0;
};

// Counts (and, with failure >= 0, fails) the allocations of one call of f.
template <class F> long allocationsOf(F f, long failure = -1) {
  seen = 0;
  failAt = failure;
  counting = true;
  try {
    f();
  } catch (...) {
    counting = false;
    failAt = -1;
    throw;
  }
  counting = false;
  failAt = -1;
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

void expectLineShape(const Lines& lines, size_t width, size_t cap) {
  EXPECT_LE(lines.size(), cap - 1);
  for (size_t i = 0; i < lines.size(); ++i)
    EXPECT_LE(lines[i].size(), i + 1 < lines.size() ? width : width - 1) << "line " << i;
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
    // A clean run: what the call stores and how many allocations it makes.
    CStringList cleanList;
    CountingLock cleanLock;
    KQLockedLines<CountingLock> clean(withStartingLines(cleanList), cleanLock, width, cap);
    const long total = allocationsOf([&] { clean.display(text.data(), static_cast<int>(text.size())); });
    const Lines full = linesOf(cleanList);
    ASSERT_GT(total, 30);

    for (long k = 0; k < total; ++k) {
      CStringList list;
      CountingLock lock;
      KQLockedLines<CountingLock> store(withStartingLines(list), lock, width, cap);
      const Lines before = linesOf(list);
      EXPECT_THROW(allocationsOf([&] { store.display(text.data(), static_cast<int>(text.size())); }, k),
                   std::bad_alloc)
          << "allocation " << k;

      // The lock is free: this thread's depth is 0 and another thread can take it.
      EXPECT_EQ(lock.heldDepth(), 0);
      bool taken = false;
      std::thread([&] {
        taken = lock.mutex.try_lock();
        if (taken)
          lock.mutex.unlock();
      }).join();
      EXPECT_TRUE(taken);

      // Earlier lines intact, and what was stored is the beginning of what a clean run stores.
      const Lines after = linesOf(list);
      ASSERT_GE(after.size(), 2u);
      EXPECT_EQ(after[0], before[0]);
      EXPECT_EQ(after[1], before[1]);
      EXPECT_EQ(joined(after), joined(full).substr(0, joined(after).size())) << "allocation " << k;
      EXPECT_GE(joined(after).size(), joined(before).size()) << "allocation " << k;

      // The store goes on: the next call is stored whole and every line keeps its width.
      store.display("\nnext\n", 6);
      const Lines later = linesOf(list);
      ASSERT_GE(later.size(), 2u);
      EXPECT_EQ(later[later.size() - 2], "next");
      expectLineShape(later, static_cast<size_t>(width), static_cast<size_t>(cap));
    }
  }
}

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
