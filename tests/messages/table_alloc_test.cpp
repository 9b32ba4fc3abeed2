// KQMessageTable when an allocation fails: the replaced global allocation operators (the table's code is
// linked into this executable) make allocation number `failAt` throw.
#include "../support/failing_new.h"
#include "kqmessageloader.h"
#include "kqmessages.h"
#include "table_probe.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <new>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {
// The shared failing allocator's fields under this test's names.
long &failAt = kqtest::failingNew.failAt, &made = kqtest::failingNew.made, &sized = kqtest::failingNew.sized;
std::size_t &sizedFrom = kqtest::failingNew.sizedFrom, &sizedTo = kqtest::failingNew.sizedTo,
            &failedSize = kqtest::failingNew.failedSize;
} // namespace

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

// A load that runs out of memory keeps, in file order, every text read before the failure: all of them when
// a text could not be copied, the ones stored before the failing insertion when the table could not grow.
// Texts of 9,000 characters get a block of their own from the catalogue's string pool, so each text read
// shows as one allocation of its size (the reader's own string for a record read character by character
// takes 9,001 bytes, which are not counted).
TEST(MessageTableMemory, ALoadThatRunsOutOfMemoryKeepsTheTextsReadBeforeInFileOrder) {
  constexpr int records = 40;
  const auto textOf = [](int record) { return std::string(9000, static_cast<char>('a' + record % 26)); };
  std::string file;
  for (int record = 1; record <= records; ++record)
    file += std::to_string(record) + "\t\"" + textOf(record) + "\"\n";
  for (long n = 1;; ++n) {
    std::istringstream in(file);
    KQTableProbe table;
    bool failed = false;
    made = sized = 0;
    sizedFrom = 9002; // a pooled text's block: its characters, the terminator and the block's header
    sizedTo = 9200;
    failAt = n;
    try {
      loadMessages(in, table);
    } catch (const std::bad_alloc&) {
      failed = true;
    }
    failAt = 0;
    sizedTo = 0;
    const long textsRead = sized;
    ASSERT_EQ(table.invariants(), "") << "failing allocation " << n;
    const KQEntries entries = kqWalk(table); // in bucket order: 17 buckets, keys 1 to 40
    std::map<long, std::string> stored(entries.begin(), entries.end());
    long prefix = 0;
    while (stored.count(prefix + 1) != 0 && stored[prefix + 1] == textOf(static_cast<int>(prefix + 1)))
      ++prefix;
    ASSERT_EQ(static_cast<size_t>(prefix), stored.size()) << "failing allocation " << n << ": not a prefix";
    if (!failed) {
      EXPECT_EQ(prefix, records);
      EXPECT_GT(n, records); // every text's allocation failed once
      break;
    }
    if (failedSize >= 9002 && failedSize < 9200)
      EXPECT_EQ(prefix, textsRead) << "failing allocation " << n << " (a text)";
    else
      EXPECT_LE(prefix, textsRead) << "failing allocation " << n;
  }
}
