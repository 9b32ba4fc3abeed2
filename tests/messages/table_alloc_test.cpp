// KQMessageTable when an allocation fails: the replaced global allocation operators below (the table's code
// is linked into this executable) make allocation number `failAt` throw.
#include "kqmessages.h"
#include "table_probe.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {
long failAt = 0, made = 0; // failAt 0: nothing fails

void* allocate(std::size_t size) {
  void* p = ++made == failAt ? nullptr : std::malloc(size == 0 ? 1 : size);
  if (p == nullptr)
    throw std::bad_alloc();
  return p;
}
} // namespace

// clang-format off
void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try { return allocate(size); } catch (const std::bad_alloc&) { return nullptr; }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
// clang-format on

// Fails each allocation of a script in turn: the failing step changes nothing (a new entry is not left
// behind, a replaced text stays as it was), and done again it and the rest of the script succeed.
TEST(MessageTableMemory, EveryAllocationFailureLeavesTheTableWhole) {
  std::vector<std::pair<long, std::string>> script; // an empty text removes the key
  for (long key = 0; key < 30; ++key) {
    script.emplace_back(key * 3, "text number " + std::to_string(key));
    if (key % 5 == 4)
      script.emplace_back(key * 3, std::string(100, 'r')); // more than the earlier text has room for
    if (key % 4 == 3)
      script.emplace_back((key - 2) * 3, "");
  }
  std::vector<std::map<long, std::string>> after(1); // the contents after each step, built beforehand
  for (const auto& [key, text] : script) {
    after.push_back(after.back());
    text.empty() ? (void)after.back().erase(key) : (void)(after.back()[key] = text);
  }
  const auto apply = [](KQMessageTable& table, long key, const std::string& text) {
    text.empty() ? (void)table.removeKey(key) : table.setAt(key, text.c_str());
  };
  const auto contents = [](const KQTableProbe& table) {
    EXPECT_EQ(table.invariants(), "");
    const KQEntries entries = kqWalk(table);
    return std::map<long, std::string>(entries.begin(), entries.end());
  };
  for (long n = 1;; ++n) {
    KQTableProbe table(4);
    table.initHashTable(7, 0);
    bool failed = false;
    made = 0;
    failAt = n;
    for (size_t i = 0; i < script.size(); ++i) {
      try {
        apply(table, script[i].first, script[i].second);
      } catch (const std::bad_alloc&) {
        failed = true;
        failAt = 0; // nothing fails any more
        ASSERT_EQ(contents(table), after[i]) << "failing allocation " << n;
        apply(table, script[i].first, script[i].second);
      }
    }
    failAt = 0;
    ASSERT_TRUE(failed || made < n) << "allocation " << n << " failed and the table went on";
    ASSERT_EQ(contents(table), after.back()) << "failing allocation " << n;
    if (!failed) {
      EXPECT_GT(n, 30); // every setAt allocates its text: the sweep went through them all
      break;
    }
  }
}
