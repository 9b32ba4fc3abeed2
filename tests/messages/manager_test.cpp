// KQMessageManager through the library's public interface: setFile, look-ups, theMessage and KQGetMessage.
#include "kqmessages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {
const std::string dataDir = KQ_MESSAGES_DATA;
const char* const notFound = "*** Message Not Found...\n";

std::string dataFile(const char* name) {
  return dataDir + "/" + name;
}

std::vector<long> storedNumbers(const KQMessageTable& table) {
  std::vector<long> out;
  for (void* pos = table.getStartPosition(); pos != nullptr;) {
    long key = 0;
    KQCString value;
    table.getNextAssoc(pos, key, value);
    out.push_back(key);
  }
  return out;
}
} // namespace

TEST(MessageManager, AbsentNumbersGiveTheNotFoundText) {
  KQMessageManager catalogue;
  EXPECT_EQ(catalogue.getHashTableSize(), 17u);
  EXPECT_STREQ(catalogue(1), notFound);
  EXPECT_EQ(std::strlen(catalogue(1)), 25u);
  catalogue.setAt(1, "one");
  EXPECT_STREQ(catalogue(2), notFound);
  EXPECT_EQ(catalogue(2), catalogue(-2147483647 - 1)); // one constant text
}

TEST(MessageManager, LookUpPointsAtTheStoredText) {
  KQMessageManager catalogue;
  catalogue.setAt(42, "forty-two");
  EXPECT_EQ(catalogue(42), catalogue[42].data());
  EXPECT_STREQ(catalogue(42), "forty-two");
  catalogue.setAt(43, "");
  EXPECT_STREQ(catalogue(43), ""); // an empty stored text is found, not "not found"
  catalogue.removeKey(42);
  EXPECT_STREQ(catalogue(42), notFound);
}

TEST(MessageManager, SetFileReplacesTheWholeCatalogue) {
  KQMessageManager catalogue;
  catalogue.setAt(77, "from the host");
  ASSERT_EQ(catalogue.setFile(dataFile("basic.msg").c_str()), 1);
  EXPECT_STREQ(catalogue(1042), "Disk full\n");
  EXPECT_STREQ(catalogue(-3), "Negative number");
  EXPECT_STREQ(catalogue(12), notFound); // empty text: not stored
  EXPECT_STREQ(catalogue(77), notFound);
  EXPECT_EQ(catalogue.getCount(), 2u);
}

TEST(MessageManager, AFileThatCannotBeOpenedGivesZeroAndAnEmptyCatalogue) {
  KQMessageManager catalogue;
  ASSERT_EQ(catalogue.setFile(dataFile("duplicates.msg").c_str()), 1);
  ASSERT_EQ(catalogue.getCount(), 2u);
  EXPECT_EQ(catalogue.setFile(dataFile("no-such-file.msg").c_str()), 0);
  EXPECT_EQ(catalogue.getCount(), 0u);
  EXPECT_STREQ(catalogue(5), notFound); // loaded by the previous setFile
  EXPECT_STREQ(catalogue(6), notFound);

  ASSERT_EQ(catalogue.setFile(dataFile("duplicates.msg").c_str()), 1);
  EXPECT_EQ(catalogue.setFile(nullptr), 0);
  EXPECT_EQ(catalogue.getCount(), 0u);
  EXPECT_EQ(catalogue.setFile(dataDir.c_str()), 0); // a folder is no file
  EXPECT_EQ(catalogue.getCount(), 0u);
}

TEST(MessageManager, EmptyFileGivesOneAndAnEmptyCatalogue) {
  KQMessageManager catalogue;
  catalogue.setAt(1, "old");
  EXPECT_EQ(catalogue.setFile(dataFile("empty.msg").c_str()), 1);
  EXPECT_EQ(catalogue.isEmpty(), 1);
}

TEST(MessageManager, BucketCountChosenBeforeSetFileIsKept) {
  KQMessageManager catalogue;
  catalogue.initHashTable(101, 0);
  ASSERT_EQ(catalogue.setFile(dataFile("range.msg").c_str()), 1);
  EXPECT_EQ(catalogue.getHashTableSize(), 101u);
  // The walk follows the 101 buckets: 42 (bucket 42) before 2147483646 (bucket 2147483646 % 101 = 83).
  const std::vector<long> numbers = storedNumbers(catalogue);
  ASSERT_EQ(numbers.size(), 5u);
  std::vector<size_t> buckets;
  for (long n : numbers)
    buckets.push_back(static_cast<unsigned long>(static_cast<std::uint32_t>(n)) % 101);
  EXPECT_TRUE(std::is_sorted(buckets.begin(), buckets.end()));
  EXPECT_STREQ(catalogue(42), "many leading zeros");
}

TEST(MessageManager, GlobalCatalogueAndFreeFunctionAgree) {
  ASSERT_EQ(theMessage.setFile(dataFile("range.msg").c_str()), 1);
  theMessage.setAt(-5, "set by the host");
  std::vector<long> probes = storedNumbers(theMessage);
  for (long n : std::vector<long>(probes)) {
    if (n > -2147483647L - 1)
      probes.push_back(n - 1);
    if (n < 2147483647L)
      probes.push_back(n + 1);
  }
  for (long n = -2147483647L - 1; n < 2147483647L - 2000003L; n += 2000003L) // a sweep of the whole range
    probes.push_back(n);
  size_t found = 0;
  for (long n : probes) {
    const char* mine = theMessage(n);
    EXPECT_EQ(KQGetMessage(n), mine) << n; // the same pointer: the same catalogue
    found += std::strcmp(mine, notFound) != 0 ? 1 : 0;
  }
  EXPECT_GE(found, 6u);
  EXPECT_STREQ(KQGetMessage(-5), "set by the host");
  theMessage.removeAll();
  EXPECT_STREQ(KQGetMessage(-5), notFound);
}
