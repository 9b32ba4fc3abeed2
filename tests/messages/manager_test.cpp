// KQMessageManager beyond loading files (golden_test.cpp): look-ups, the not-found text, files that cannot
// be read, the bucket count across setFile.
#include "kqmessages.h"

#include <gtest/gtest.h>

#include <string>

namespace {
const std::string dataDir = KQ_MESSAGES_DATA;
const char* const notFound = "*** Message Not Found...\n";
} // namespace

TEST(MessageManager, LookUpGivesTheStoredTextOrOneNotFoundText) {
  KQMessageManager catalogue;
  EXPECT_STREQ(catalogue(1), notFound);
  catalogue.setAt(42, "forty-two");
  catalogue.setAt(43, "");
  EXPECT_EQ(catalogue(42), catalogue[42].data());      // the stored text itself, not a copy
  EXPECT_STREQ(catalogue(43), "");                     // an empty stored text is found
  EXPECT_EQ(catalogue(2), catalogue(-2147483647 - 1)); // one constant not-found text
  catalogue.removeKey(42);
  EXPECT_STREQ(catalogue(42), notFound);
}

// setFile empties the catalogue first, also when the file cannot be read, and keeps the bucket count (a
// large catalogue is sized with initHashTable before setFile).
TEST(MessageManager, SetFileKeepsTheBucketCountAndGivesZeroForAFileThatCannotBeRead) {
  KQMessageManager catalogue;
  catalogue.initHashTable(101, 0);
  for (const std::string& name : {dataDir + "/no-such-file.msg", dataDir /* a folder */, std::string()}) {
    ASSERT_EQ(catalogue.setFile((dataDir + "/range.msg").c_str()), 1);
    EXPECT_STREQ(catalogue(42), "many leading zeros");
    EXPECT_EQ(catalogue.setFile(name.empty() ? nullptr : name.c_str()), 0) << name;
    EXPECT_EQ(catalogue.getCount(), 0u) << name;
  }
  EXPECT_EQ(catalogue.getHashTableSize(), 101u);
  catalogue.setAt(1, "old");
  EXPECT_EQ(catalogue.setFile((dataDir + "/empty.msg").c_str()), 1); // opened: no record is no failure
  EXPECT_EQ(catalogue.isEmpty(), 1);
}
