// KQMessageTable's allocations: one per block and one bucket array, reuse before growth, nothing kept
// after removeAll, and the table left whole when an allocation fails anywhere.
#include "counting_allocator.h"
#include "kqmessages.h"
#include "table_probe.h"

#include <gtest/gtest.h>

#include <map>
#include <new>
#include <string>
#include <vector>

namespace {
std::string textOf(const KQMessageTable& table, long key) {
  KQCString value;
  return table.lookup(key, value) ? std::string(value.data(), static_cast<size_t>(value.length()))
                                  : "<absent>";
}
} // namespace

TEST(MessageTableMemory, OneAllocationPerBlockPlusTheBucketArray) {
  KQTableProbe table;
  AllocationWatch watch;
  KQCString value;
  table.lookup(1, value);
  table.removeKey(1);
  table.getStartPosition();
  EXPECT_EQ(watch.allocations(), 0);

  for (long key = 0; key < 25; ++key)
    table[key];                      // empty texts allocate nothing
  EXPECT_EQ(watch.allocations(), 4); // the array and three blocks of 10

  for (long key = 0; key < 5; ++key)
    table.removeKey(key);
  for (long key = 100; key < 105; ++key)
    table[key]; // the freed nodes again
  EXPECT_EQ(watch.allocations(), 4);
  EXPECT_EQ(watch.releases(), 0);

  table.removeAll();
  EXPECT_EQ(watch.releases(), 4);
  table[1];
  EXPECT_EQ(watch.allocations(), 6);
}

TEST(MessageTableMemory, AFailedBucketArrayLeavesTheTableEmptyAndUsable) {
  KQTableProbe table;
  {
    AllocationWatch watch(1);
    EXPECT_THROW(table[1], std::bad_alloc);
  }
  EXPECT_EQ(table.getCount(), 0u);
  EXPECT_EQ(table.invariants(), "");
  table.setAt(1, "one");
  EXPECT_EQ(textOf(table, 1), "one");
}

TEST(MessageTableMemory, AFailedBlockKeepsTheEntriesAndTheCount) {
  KQTableProbe table;
  for (long key = 0; key < 10; ++key)
    table.setAt(key, "text");
  {
    AllocationWatch watch(1); // the 11th entry needs a second block
    EXPECT_THROW(table[10], std::bad_alloc);
  }
  EXPECT_EQ(table.getCount(), 10u);
  EXPECT_EQ(textOf(table, 10), "<absent>");
  for (long key = 0; key < 10; ++key)
    EXPECT_EQ(textOf(table, key), "text");
  EXPECT_EQ(table.invariants(), "");
  table.setAt(10, "ten");
  EXPECT_EQ(table.blockCount(), 2u);
}

TEST(MessageTableMemory, SetAtWhoseTextCannotBeAllocatedChangesNothing) {
  KQTableProbe table;
  table.setAt(1, "old");
  {
    AllocationWatch watch(1); // the node comes from the free list: the text is the first allocation
    EXPECT_THROW(table.setAt(2, "new"), std::bad_alloc);
  }
  const std::string longer(200, 'r'); // more than "old" has room for
  {
    AllocationWatch watch(1);
    EXPECT_THROW(table.setAt(1, longer.c_str()), std::bad_alloc);
  }
  EXPECT_EQ(table.getCount(), 1u);
  EXPECT_EQ(textOf(table, 2), "<absent>");
  EXPECT_EQ(textOf(table, 1), "old");
  EXPECT_EQ(table.invariants(), "");
}

// Fails each allocation of a fill-and-churn script in turn: whatever the script had finished stays, and
// the table stays consistent.
TEST(MessageTableMemory, EveryAllocationFailureLeavesAConsistentTable) {
  struct Step {
    bool remove;
    long key;
    std::string text;
  };
  std::vector<Step> script; // built before any allocation is watched
  for (long key = 0; key < 30; ++key) {
    script.push_back({false, key * 3, "text number " + std::to_string(key)});
    if (key % 4 == 3)
      script.push_back({true, (key - 2) * 3, ""});
  }
  for (long failAt = 1;; ++failAt) {
    KQTableProbe table(4);
    table.initHashTable(7, 0);
    size_t stepsDone = 0;
    bool failed = false;
    {
      AllocationWatch watch(failAt);
      try {
        for (const Step& step : script) {
          if (step.remove)
            table.removeKey(step.key);
          else
            table.setAt(step.key, step.text.c_str());
          ++stepsDone;
        }
      } catch (const std::bad_alloc&) {
        failed = true;
      }
      EXPECT_EQ(failed, watch.failed());
    }
    std::map<long, std::string> expected;
    for (size_t i = 0; i < stepsDone; ++i) {
      if (script[i].remove)
        expected.erase(script[i].key);
      else
        expected[script[i].key] = script[i].text;
    }
    ASSERT_EQ(table.invariants(), "") << "failing allocation " << failAt;
    ASSERT_EQ(table.getCount(), expected.size()) << "failing allocation " << failAt;
    for (const auto& [key, text] : expected)
      ASSERT_EQ(textOf(table, key), text) << "failing allocation " << failAt;
    if (!failed) {
      EXPECT_GT(failAt, 30); // every setAt allocates its text: the sweep went through them all
      break;
    }
  }
}
