// KQMessageTable: hashing, walk order, chains, node blocks and the free list, bucket counts. What a random
// sequence of operations shows against std::map (contents, counts, 32-bit keys, re-bucketing a filled
// table) is checked by the fuzz checks (fuzz_replay_test.cpp).
#include "kqmessages.h"
#include "table_probe.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

static_assert(!std::is_copy_constructible_v<KQMessageTable> && !std::is_copy_assignable_v<KQMessageTable>);
static_assert(!std::is_polymorphic_v<KQMessageManager> && sizeof(KQMessageManager) == sizeof(KQMessageTable));

using Entries = KQEntries;

TEST(MessageTable, ANewTableHasSeventeenBucketsAndAllocatesNothing) {
  KQTableProbe table;
  EXPECT_EQ(table.getStartPosition(), nullptr);
  EXPECT_FALSE(table.hasBucketArray());
  EXPECT_EQ(table.blockCount(), 0u);
  // The bucket is the key's 32 bits read as unsigned, modulo the bucket count (known before any array).
  EXPECT_EQ(table.getHashTableSize(), 17u);
  const std::pair<long, size_t> buckets[] = {{35, 1}, {-1, 0}, {-5, 13}, {INT32_MIN, 2147483648u % 17}};
  for (const auto& [key, bucket] : buckets)
    EXPECT_EQ(table.bucketFor(key), bucket) << key;
}

TEST(MessageTable, WalkGoesByBucketNewestFirstFromAnAllBitsSetStart) {
  KQTableProbe table;
  table.setAt(1, "one");
  table.setAt(18, "eighteen"); // bucket 1, in front of 1
  table.setAt(2, "two");
  table.setAt(3, nullptr); // the empty text
  EXPECT_EQ(kqWalk(table), (Entries{{18, "eighteen"}, {1, "one"}, {2, "two"}, {3, ""}}));
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(table.getStartPosition()), ~std::uintptr_t{0});

  void* pos = nullptr; // a null position gives nothing
  long key = 99;
  KQCString value;
  value = "kept";
  table.getNextAssoc(pos, key, value);
  EXPECT_TRUE(pos == nullptr && key == 99 && kqText(value) == "kept");
}

// -1 (4294967295 % 17 == 0), 0, 17 and 34 share bucket 0: removing any link of the chain keeps the others
// reachable and in order.
TEST(MessageTable, RemovingAnyLinkOfAChainKeepsTheOthers) {
  const std::vector<long> chain = {-1, 34, 17, 0}; // newest first
  for (long removed : chain) {
    KQTableProbe table;
    for (auto key = chain.rbegin(); key != chain.rend(); ++key)
      table.setAt(*key, std::to_string(*key).c_str());
    EXPECT_EQ(table.removeKey(removed), 1);
    EXPECT_EQ(table.removeKey(removed), 0);
    Entries left;
    for (long key : chain)
      if (key != removed)
        left.emplace_back(key, std::to_string(key));
    EXPECT_EQ(kqWalk(table), left) << "removing " << removed;
    EXPECT_EQ(table.invariants(), "");
  }
}

TEST(MessageTable, NodesComeFromBlocksInSlotOrderAndFreedNodesAreReusedNewestFirst) {
  KQTableProbe table; // block size 10
  for (long key = 1; key <= 3; ++key)
    table[key];
  const char* n1 = static_cast<const char*>(table.nodeFor(1));
  const char* n2 = static_cast<const char*>(table.nodeFor(2));
  const char* n3 = static_cast<const char*>(table.nodeFor(3));
  EXPECT_EQ(n2 - n1, n3 - n2); // consecutive slots of one block, ascending
  EXPECT_EQ(static_cast<const char*>(table.newestBlock()), n1 - (n2 - n1)); // slot 0 is the header

  table.removeKey(1);
  table.removeKey(3);
  table[40]; // takes the node freed last (3's), then 1's
  table[41];
  EXPECT_EQ(table.nodeFor(40), n3);
  EXPECT_EQ(table.nodeFor(41), n1);
  for (long key = 50; key < 57; ++key)
    table[key]; // fills the first block
  EXPECT_EQ(table.blockCount(), 1u);
  table[57];
  EXPECT_EQ(table.blockCount(), 2u);
  EXPECT_EQ(table.invariants(), "");

  KQTableProbe zero(0); // a block size of 0 is taken as 1
  zero[1];
  zero[2];
  EXPECT_EQ(zero.blockCount(), 2u);
  EXPECT_EQ(zero.invariants(), "");
}

TEST(MessageTable, BucketCountSetBeforeFillingHoldsAndSurvivesRemoveAll) {
  KQTableProbe table;
  table.initHashTable(31, 0);
  EXPECT_EQ(table.getHashTableSize(), 31u);
  EXPECT_FALSE(table.hasBucketArray()); // allocated at the first insertion
  table.setAt(31, "31");
  table.setAt(0, "0");
  table.setAt(17, "17"); // bucket 17 now, not 0
  EXPECT_EQ(kqWalk(table), (Entries{{0, "0"}, {31, "31"}, {17, "17"}}));

  table.removeAll(); // what it leaves is checked by the fuzz checks too
  EXPECT_EQ(table.getHashTableSize(), 31u);
  EXPECT_FALSE(table.hasBucketArray());
  table.setAt(62, "again"); // bucket 0 of a new array of 31
  EXPECT_EQ(table.bucketFor(62), 0u);
  EXPECT_EQ(kqWalk(table), (Entries{{62, "again"}}));
  table.removeAll();
  table.removeAll(); // twice is harmless

  KQTableProbe now;
  now.initHashTable(5, 1);
  EXPECT_TRUE(now.hasBucketArray());
  now.initHashTable(0, 1); // taken as 1: everything in one chain
  EXPECT_EQ(now.getHashTableSize(), 1u);
  now.setAt(-7, "a");
  now.setAt(12, "b");
  EXPECT_EQ(kqWalk(now), (Entries{{12, "b"}, {-7, "a"}}));
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
