// KQMessageTable: hashing, walk order, chains, node blocks and the free list, bucket counts. Contents, counts
// and the bucket of every key under random operation sequences are checked against std::map by the fuzz
// checks (fuzz_replay_test.cpp).
#include "kqmessages.h"
#include "table_probe.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

static_assert(!std::is_copy_constructible_v<KQMessageTable> && !std::is_copy_assignable_v<KQMessageTable>);
static_assert(!std::is_polymorphic_v<KQMessageManager> && sizeof(KQMessageManager) == sizeof(KQMessageTable));

TEST(MessageTable, WalkGoesByBucketNewestFirstFromAnAllBitsSetStart) {
  KQTableProbe table;
  EXPECT_EQ(table.getStartPosition(), nullptr);
  table.setAt(1, "one");
  table.setAt(18, "eighteen"); // bucket 1, in front of 1
  table.setAt(2, "two");
  table.setAt(3, nullptr); // the empty text
  EXPECT_EQ(kqWalk(table), (KQEntries{{18, "eighteen"}, {1, "one"}, {2, "two"}, {3, ""}}));
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(table.getStartPosition()), ~std::uintptr_t{0});

  // A null position gives nothing, and so does a walk begun before the table was emptied (by removeAll or
  // removeKey), whether it stood at the start or at a node since freed or released.
  for (int way = 0; way < 6; ++way) {
    KQTableProbe walked;
    walked.setAt(5, "five");
    walked.setAt(22, "twenty-two"); // bucket 5, in front of 5
    void* pos = way < 2 ? nullptr : walked.getStartPosition();
    long key = 99;
    KQCString value;
    if (way >= 4)
      walked.getNextAssoc(pos, key, value); // now at 5's node
    key = 99;
    value = "kept";
    way % 2 == 0 ? walked.removeAll() : (void)(walked.removeKey(5) + walked.removeKey(22));
    walked.getNextAssoc(pos, key, value);
    EXPECT_TRUE(pos == nullptr && key == 99 && kqText(value) == "kept") << way;
  }
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
    KQEntries left;
    for (long key : chain)
      if (key != removed)
        left.emplace_back(key, std::to_string(key));
    EXPECT_EQ(kqWalk(table), left) << "removing " << removed;
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
}

TEST(MessageTable, BucketCountSetBeforeFillingHoldsAndSurvivesRemoveAllAndZeroSizesAreTakenAsOne) {
  KQTableProbe table;
  table.initHashTable(31, 0);
  EXPECT_FALSE(table.hasBucketArray()); // allocated at the first insertion
  table.setAt(31, "31");
  table.setAt(0, "0");
  table.setAt(17, "17"); // bucket 17 now, not 0
  EXPECT_EQ(kqWalk(table), (KQEntries{{0, "0"}, {31, "31"}, {17, "17"}}));

  table.removeAll();
  EXPECT_EQ(table.getHashTableSize(), 31u);
  EXPECT_FALSE(table.hasBucketArray());
  table.setAt(62, "again"); // a new array of 31
  EXPECT_EQ(kqWalk(table), (KQEntries{{62, "again"}}));

  KQTableProbe zero(0); // a block size of 0 is taken as 1, and so is a bucket count of 0
  zero.initHashTable(0, 1);
  EXPECT_TRUE(zero.hasBucketArray()); // allocated now
  EXPECT_EQ(zero.getHashTableSize(), 1u);
  zero[1];
  zero[2];
  EXPECT_EQ(zero.blockCount(), 2u);
}

// The bucket is the key's 32 bits, unsigned, modulo the bucket count, also for counts beyond 32 bits (set,
// never allocated: the bucket of a key is known without an array).
TEST(MessageTable, BucketIsTheUnsignedKeyModuloTheCountAtEveryWidthOfTheCount) {
  KQTableProbe table;
  const size_t wide = (size_t{1} << 32) + 17; // its low 32 bits are 17
  const std::vector<std::pair<size_t, std::vector<std::pair<long, size_t>>>> cases = {
      {17, {{35, 1}, {-1, 0}, {-5, 13}}},
      {UINT32_MAX, {{-1, 0}, {-5, 4294967291u}, {7, 7}}},
      {wide, {{-1, 4294967295u}, {-5, 4294967291u}, {35, 35}}},
  };
  for (const auto& [buckets, keys] : cases) {
    table.initHashTable(buckets, 0);
    for (const auto& [key, bucket] : keys)
      EXPECT_EQ(table.bucketFor(key), bucket) << key << " in " << buckets << " buckets";
  }
  EXPECT_FALSE(table.hasBucketArray());
}
