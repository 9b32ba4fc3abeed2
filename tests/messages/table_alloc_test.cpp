// KQMessageTable and the catalogue's load when each allocation in turn fails (the code is linked in).
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
std::map<long, std::string> contents(const KQTableProbe& table) {
  EXPECT_EQ(table.invariants(), "");
  const KQEntries entries = kqWalk(table);
  return std::map<long, std::string>(entries.begin(), entries.end());
}
} // namespace

// The failing step changes nothing (no new entry left behind, a replaced text kept); redone, it succeeds.
TEST(MessageTableMemory, EveryAllocationFailureLeavesTheTableWhole) {
  std::vector<std::pair<long, std::string>> script; // an empty text removes the key
  for (long key = 0; key < 30; ++key) {
    script.emplace_back(key * 3, "text number " + std::to_string(key));
    if (key % 5 == 4)
      script.emplace_back(key * 3, std::string(100, 'r')); // more than the earlier text has room for
    if (key % 4 == 3)
      script.emplace_back((key - 2) * 3, "");
  }
  std::vector<std::map<long, std::string>> after(1); // the contents after each step
  for (const auto& [key, text] : script) {
    after.push_back(after.back());
    text.empty() ? (void)after.back().erase(key) : (void)(after.back()[key] = text);
  }
  long n = 1;
  for (;; ++n) {
    KQTableProbe table(4);
    table.initHashTable(7, 0);
    kqtest::failingNew.arm(n);
    for (size_t i = 0; i < script.size(); ++i) {
      const auto& [key, text] = script[i];
      try {
        text.empty() ? (void)table.removeKey(key) : table.setAt(key, text.c_str());
      } catch (const std::bad_alloc&) {
        ASSERT_EQ(contents(table), after[i]) << "failing allocation " << n;
        table.setAt(key, text.c_str()); // only setAt allocates
      }
    }
    const bool reached = kqtest::failingNew.disarm();
    ASSERT_EQ(contents(table), after.back()) << "failing allocation " << n;
    if (!reached)
      break;
  }
  EXPECT_GT(n, 30); // every setAt allocates its text: the sweep went through them all
}

// A failed load keeps a file-order prefix: every text read when a text's copy failed (9,000 bytes), the
// ones stored before the insertion when the table could not grow (its only allocations under 9,000).
TEST(MessageTableMemory, ALoadThatRunsOutOfMemoryKeepsTheTextsReadBeforeInFileOrder) {
  constexpr long records = 40;
  const auto textOf = [](long record) { return std::string(9000, static_cast<char>('a' + record % 26)); };
  std::string file;
  for (long record = 1; record <= records; ++record)
    file += std::to_string(record) + "\t\"" + textOf(record) + "\"\n";
  long n = 1;
  for (;; ++n) {
    KQTableProbe table;
    long read = 0;
    kqtest::failingNew.arm(n);
    try {
      std::istringstream in(file);
      KQMessageReader reader(in);
      kqLoadRecords(reader, table, [&](std::int32_t, std::string_view text) { read += !text.empty(); });
    } catch (const std::bad_alloc&) {
    }
    const bool reached = kqtest::failingNew.disarm();
    const std::size_t failedSize = kqtest::failingNew.failedSize;
    std::map<long, std::string> stored = contents(table);
    long prefix = 0;
    while (stored.count(prefix + 1) != 0 && stored[prefix + 1] == textOf(prefix + 1))
      ++prefix;
    ASSERT_EQ(static_cast<size_t>(prefix), stored.size()) << "failing allocation " << n << ": not a prefix";
    if (!reached) {
      EXPECT_EQ(prefix, records);
      break;
    }
    if (failedSize > 9000)
      EXPECT_EQ(prefix, read) << "failing allocation " << n << " of " << failedSize << " bytes";
    else
      EXPECT_LE(prefix, read) << "failing allocation " << n << " of " << failedSize << " bytes";
  }
  EXPECT_GT(n, records); // every text's copy failed once
}
