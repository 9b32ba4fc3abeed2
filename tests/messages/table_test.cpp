// KQMessageTable: buckets, chains, walk order, node blocks and the free list.
#include "kqmessages.h"
#include "table_probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

static_assert(!std::is_copy_constructible_v<KQMessageTable> && !std::is_copy_assignable_v<KQMessageTable>);
static_assert(!std::is_copy_constructible_v<KQMessageManager> &&
              !std::is_copy_assignable_v<KQMessageManager>);
static_assert(!std::is_polymorphic_v<KQMessageTable> && !std::is_polymorphic_v<KQMessageManager>);
static_assert(sizeof(KQMessageManager) == sizeof(KQMessageTable), "the manager adds no fields");

namespace {
std::string text(const KQCString& s) {
  return std::string(s.data(), static_cast<size_t>(s.length()));
}

std::vector<std::pair<long, std::string>> walk(const KQMessageTable& table) {
  std::vector<std::pair<long, std::string>> entries;
  for (void* pos = table.getStartPosition(); pos != nullptr;) {
    long key = 0;
    KQCString value;
    table.getNextAssoc(pos, key, value);
    entries.emplace_back(key, text(value));
  }
  return entries;
}

std::vector<long> keys(const KQMessageTable& table) {
  std::vector<long> out;
  for (const auto& entry : walk(table))
    out.push_back(entry.first);
  return out;
}
} // namespace

TEST(MessageTable, NewTableIsEmptyAndAllocatesNothing) {
  KQTableProbe table;
  EXPECT_EQ(table.getCount(), 0u);
  EXPECT_EQ(table.isEmpty(), 1);
  EXPECT_EQ(table.getHashTableSize(), 17u);
  EXPECT_EQ(table.getStartPosition(), nullptr);
  KQCString value;
  value = "kept";
  for (long key : {0L, 1L, -1L, 17L, 2147483647L}) {
    EXPECT_EQ(table.lookup(key, value), 0);
    EXPECT_EQ(table.removeKey(key), 0);
  }
  EXPECT_EQ(text(value), "kept");
  EXPECT_FALSE(table.hasBucketArray());
  EXPECT_EQ(table.blockCount(), 0u);
}

TEST(MessageTable, IndexInsertsAnEmptyTextOnceAndThenGivesTheSameObject) {
  KQTableProbe table;
  KQCString& first = table[7];
  EXPECT_EQ(first.length(), 0);
  EXPECT_EQ(table.getCount(), 1u);
  EXPECT_EQ(table.isEmpty(), 0);
  first = "seven";
  KQCString& again = table[7];
  EXPECT_EQ(&again, &first);
  EXPECT_EQ(text(again), "seven");
  EXPECT_EQ(table.getCount(), 1u);
}

TEST(MessageTable, SetAtTwiceKeepsOneEntryWithTheSecondText) {
  KQTableProbe table;
  table.setAt(5, "first");
  table.setAt(5, "second");
  table.setAt(6, nullptr); // the empty text
  EXPECT_EQ(table.getCount(), 2u);
  KQCString value;
  ASSERT_EQ(table.lookup(5, value), 1);
  EXPECT_EQ(text(value), "second");
  ASSERT_EQ(table.lookup(6, value), 1);
  EXPECT_EQ(value.length(), 0);
  EXPECT_EQ(table.invariants(), "");
}

TEST(MessageTable, HashIsTheKeysBitsAsUnsignedModuloTheBucketCount) {
  KQTableProbe table; // no bucket array yet: the bucket is still given
  EXPECT_EQ(table.bucketFor(35), 1u);
  EXPECT_EQ(table.bucketFor(-1), 0u); // 4294967295 % 17
  EXPECT_EQ(table.bucketFor(-5), 13u);
  EXPECT_EQ(table.bucketFor(-2147483647 - 1), 2147483648u % 17);
  EXPECT_EQ(table.bucketFor(16), 16u);
  EXPECT_EQ(table.bucketFor(17), 0u);
}

TEST(MessageTable, WalkGoesByBucketAndNewestFirstWithinABucket) {
  KQTableProbe table;
  table.setAt(1, "one");
  table.setAt(18, "eighteen"); // bucket 1, in front of 1
  table.setAt(2, "two");
  const std::vector<std::pair<long, std::string>> expected = {{18, "eighteen"}, {1, "one"}, {2, "two"}};
  EXPECT_EQ(walk(table), expected);
}

TEST(MessageTable, StartPositionIsAllBitsSetNeverANode) {
  KQTableProbe table;
  table.setAt(3, "x");
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(table.getStartPosition()), ~std::uintptr_t{0});
  EXPECT_NE(table.getStartPosition(), table.nodeFor(3));
}

TEST(MessageTable, NextAssocOnANullPositionGivesNothing) {
  KQTableProbe table;
  table.setAt(3, "x");
  void* pos = nullptr;
  long key = 99;
  KQCString value;
  value = "kept";
  table.getNextAssoc(pos, key, value);
  EXPECT_EQ(pos, nullptr);
  EXPECT_EQ(key, 99);
  EXPECT_EQ(text(value), "kept");
}

TEST(MessageTable, MinusOneAndZeroShareBucketZeroAndStayReachable) {
  for (long removed : {-1L, 0L}) {
    KQTableProbe table;
    table.setAt(-1, "minus one");
    table.setAt(0, "zero");
    EXPECT_EQ(table.bucketFor(-1), 0u);
    EXPECT_EQ(table.bucketFor(0), 0u);
    KQCString value;
    EXPECT_EQ(table.lookup(-1, value), 1);
    EXPECT_EQ(text(value), "minus one");
    EXPECT_EQ(table.lookup(0, value), 1);
    EXPECT_EQ(text(value), "zero");

    const long kept = removed == 0 ? -1 : 0;
    EXPECT_EQ(table.removeKey(removed), 1);
    EXPECT_EQ(table.removeKey(removed), 0);
    EXPECT_EQ(table.lookup(removed, value), 0);
    EXPECT_EQ(table.lookup(kept, value), 1);
    EXPECT_EQ(keys(table), std::vector<long>{kept});
    EXPECT_EQ(table.invariants(), "");
  }
}

TEST(MessageTable, RemovingFromAChainOfThreeKeepsTheOthersInOrder) {
  // 0, 17 and 34 share bucket 0; the chain is 34, 17, 0. Remove each position in turn.
  const std::vector<std::pair<long, std::vector<long>>> cases = {{34, {17, 0}}, {17, {34, 0}}, {0, {34, 17}}};
  for (const auto& [removed, left] : cases) {
    KQTableProbe table;
    for (long key : {0L, 17L, 34L})
      table.setAt(key, std::to_string(key).c_str());
    ASSERT_EQ(keys(table), (std::vector<long>{34, 17, 0}));
    EXPECT_EQ(table.removeKey(removed), 1);
    EXPECT_EQ(keys(table), left) << "removing " << removed;
    for (long key : left) {
      KQCString value;
      EXPECT_EQ(table.lookup(key, value), 1);
      EXPECT_EQ(text(value), std::to_string(key));
    }
    EXPECT_EQ(table.invariants(), "");
  }
}

TEST(MessageTable, NodesComeFromBlocksInSlotOrderAndFreedNodesAreReusedNewestFirst) {
  KQTableProbe table;
  for (long key = 1; key <= 3; ++key)
    table[key];
  const char* n1 = static_cast<const char*>(table.nodeFor(1));
  const char* n2 = static_cast<const char*>(table.nodeFor(2));
  const char* n3 = static_cast<const char*>(table.nodeFor(3));
  EXPECT_EQ(n2 - n1, n3 - n2); // consecutive slots of one block, ascending
  EXPECT_GT(n2, n1);
  EXPECT_EQ(static_cast<const char*>(table.newestBlock()), n1 - (n2 - n1)); // slot 0 is the header

  table.removeKey(1);
  table.removeKey(3);
  table[40]; // takes the node freed last (3's), then 1's
  table[41];
  EXPECT_EQ(table.nodeFor(40), n3);
  EXPECT_EQ(table.nodeFor(41), n1);
  EXPECT_EQ(table.blockCount(), 1u);
  EXPECT_EQ(text(table[40]), ""); // a reused node starts with an empty text
  EXPECT_EQ(table.invariants(), "");
}

TEST(MessageTable, ANewBlockOnlyWhenTheFreeListIsEmpty) {
  KQTableProbe table; // block size 10
  for (long key = 0; key < 10; ++key)
    table[key];
  EXPECT_EQ(table.blockCount(), 1u);
  const void* first = table.newestBlock();
  table[10];
  EXPECT_EQ(table.blockCount(), 2u);
  EXPECT_NE(table.newestBlock(), first);
  EXPECT_EQ(table.invariants(), "");

  KQTableProbe ones(1);
  for (long key = 0; key < 3; ++key)
    ones[key];
  EXPECT_EQ(ones.blockCount(), 3u);
  KQTableProbe zero(0); // taken as 1
  zero[1];
  zero[2];
  EXPECT_EQ(zero.blockCount(), 2u);
  EXPECT_EQ(zero.invariants(), "");
}

TEST(MessageTable, InitHashTableWithoutAllocationTakesEffectAtTheFirstInsertion) {
  KQTableProbe table;
  table.initHashTable(31, 0);
  EXPECT_EQ(table.getHashTableSize(), 31u);
  EXPECT_FALSE(table.hasBucketArray());
  table.setAt(31, "thirty-one");
  table.setAt(0, "zero");
  table.setAt(17, "seventeen"); // bucket 17 now, not 0
  EXPECT_TRUE(table.hasBucketArray());
  EXPECT_EQ(table.bucketFor(31), 0u);
  EXPECT_EQ(table.bucketFor(0), 0u);
  EXPECT_EQ(keys(table), (std::vector<long>{0, 31, 17}));

  KQTableProbe now;
  now.initHashTable(5, 1);
  EXPECT_TRUE(now.hasBucketArray());
  EXPECT_EQ(now.getHashTableSize(), 5u);
  EXPECT_EQ(now.getCount(), 0u);
  now.initHashTable(0, 1); // taken as 1: everything in one chain
  now.setAt(-7, "a");
  now.setAt(12, "b");
  EXPECT_EQ(keys(now), (std::vector<long>{12, -7}));
}

TEST(MessageTable, InitHashTableOnAFilledTableKeepsEveryEntry) {
  KQTableProbe table;
  for (long key = -20; key <= 20; ++key)
    table.setAt(key * 7, std::to_string(key).c_str());
  table.initHashTable(3, 0);
  EXPECT_EQ(table.getHashTableSize(), 3u);
  EXPECT_EQ(table.getCount(), 41u);
  EXPECT_EQ(table.invariants(), "");
  for (long key = -20; key <= 20; ++key) {
    KQCString value;
    ASSERT_EQ(table.lookup(key * 7, value), 1);
    EXPECT_EQ(text(value), std::to_string(key));
  }
}

TEST(MessageTable, RemoveAllReturnsToTheStartingStateButKeepsTheBucketCount) {
  KQTableProbe table;
  table.initHashTable(31, 0);
  for (long key = 0; key < 25; ++key)
    table.setAt(key, "text");
  table.removeAll();
  EXPECT_EQ(table.getCount(), 0u);
  EXPECT_EQ(table.isEmpty(), 1);
  EXPECT_EQ(table.getStartPosition(), nullptr);
  EXPECT_EQ(table.getHashTableSize(), 31u);
  EXPECT_FALSE(table.hasBucketArray());
  EXPECT_EQ(table.blockCount(), 0u);
  KQCString value;
  EXPECT_EQ(table.lookup(3, value), 0);

  table.setAt(62, "again"); // a new array of 31 buckets
  EXPECT_EQ(table.bucketFor(62), 0u);
  EXPECT_EQ(keys(table), std::vector<long>{62});
  EXPECT_EQ(table.blockCount(), 1u);
  EXPECT_EQ(table.invariants(), "");
  table.removeAll();
  table.removeAll(); // twice is harmless
  EXPECT_EQ(table.getCount(), 0u);
}

TEST(MessageTable, KeysAreThirtyTwoBitValuesWhateverTheWidthOfLong) {
  KQTableProbe table;
  table.setAt(-2147483647 - 1, "min");
  table.setAt(2147483647, "max");
  table.setAt(-1, "minus one");
  std::vector<long> seen = keys(table);
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<long>{-2147483647 - 1, -1, 2147483647})); // sign kept, never 4294967295
  if constexpr (sizeof(long) > 4) {
    // Wider longs are reduced to their low 32 bits: 2^32 + 5 is 5, 2^32 - 1 is -1.
    const long long two32 = 4294967296LL;
    table.setAt(static_cast<long>(two32 + 5), "five");
    KQCString value;
    ASSERT_EQ(table.lookup(5, value), 1);
    EXPECT_EQ(text(value), "five");
    ASSERT_EQ(table.lookup(static_cast<long>(two32 - 1), value), 1);
    EXPECT_EQ(text(value), "minus one");
    EXPECT_EQ(table.removeKey(static_cast<long>(-two32 + 5)), 1);
    EXPECT_EQ(table.getCount(), 3u);
  }
}

#if defined(KQ_HAS_ASAN)
TEST(MessageTableDeathTest, AFreedNodeIsPoisoned) {
  KQTableProbe table;
  table.setAt(1, "one");
  const void* node = table.nodeFor(1);
  table.removeKey(1);
  EXPECT_DEATH(KQTableProbe::touch(node), "use-after-poison");
}
#endif
