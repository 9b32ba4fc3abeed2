// KQMessageTable: walk order, zero sizes, bucket counts beyond 32 bits. Contents, counts, chains, bucket
// counts and arrays, the bucket of every key, the node each new entry takes (the node freed last, else the
// next slot of a new block) and walks begun before the table was emptied are checked under random operation
// sequences by the fuzz checks (fuzz_replay_test.cpp).
#include "kqmessages.h"
#include "table_probe.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <type_traits>

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
}

// Zero sizes are taken as one. The bucket is the key's 32 bits, unsigned, modulo the count, also for counts
// beyond 32 bits (set, never allocated: a key's bucket is known without an array).
TEST(MessageTable, ZeroSizesAreTakenAsOneAndTheBucketIsTheUnsignedKeyModuloTheCount) {
  KQTableProbe zero(0);
  zero.initHashTable(0, 1);
  EXPECT_EQ(zero.getHashTableSize(), 1u);
  zero[1];
  zero[2];
  EXPECT_EQ(zero.blockCount(), 2u); // one node per block

  KQTableProbe table;
  table.initHashTable(UINT32_MAX, 0);
  EXPECT_EQ(table.bucketFor(-1), 0u);
  EXPECT_EQ(table.bucketFor(-5), 4294967291u);
  table.initHashTable((size_t{1} << 32) + 17, 0); // its low 32 bits are 17
  EXPECT_EQ(table.bucketFor(-1), 4294967295u);
  EXPECT_EQ(table.bucketFor(35), 35u);
}
