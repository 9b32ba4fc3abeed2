// KQMessageTable: what the fuzz checks do not vary: walk order within a bucket, a zero block size, bucket
// counts beyond 32 bits (and, on Windows, a 32-bit long).
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

// The bucket is the key's 32 bits, unsigned, modulo the count, also beyond 32 bits (never allocated).
TEST(MessageTable, AZeroBlockSizeIsOneAndTheBucketIsTheUnsignedKeyModuloTheCount) {
  KQTableProbe zero(0);
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
