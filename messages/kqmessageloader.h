// Loading message-file records into a table: the catalogue's load loop, for any reader (the catalogue's
// own, or a traced one in tools that explain a file). Platform-free.
#pragma once

#include "kqcstringpool.h"
#include "kqmessagereader.h"
#include "kqmessages.h"

#include <array>
#include <climits>
#include <cstdint>
#include <istream>
#include <new>
#include <string_view>

// Texts read but not yet stored, in file order. Storing them a few dozen at a time lets the processor
// overlap the cache misses of their buckets, which are far apart in a large table: stored one by one
// between the reads of their records, each miss is waited for in turn.
class KQPendingTexts {
public:
  static constexpr size_t capacity = 32;

  explicit KQPendingTexts(KQMessageTable& table) noexcept : table(table) {}
  KQPendingTexts(const KQPendingTexts&) = delete;
  KQPendingTexts& operator=(const KQPendingTexts&) = delete;

  // Copies `text` (shorter than INT_MAX) from the pool's blocks to be stored under `number`; stores the held
  // texts when full.
  void add(KQCStringPool& pool, std::int32_t number, std::string_view text);
  // Stores the held texts in file order, each replacing an earlier text of its number.
  void store();

private:
  KQMessageTable& table;
  size_t held = 0;
  std::array<std::int32_t, capacity> numbers{};
  std::array<KQCString, capacity> texts;
};

// Until the input is at its end or reports an error: reads one record (number reset to 0 first), stores a
// non-empty text under its number, replacing any earlier text, and calls `seen(number, text)`. Does not
// empty the table first. The texts of one load share the blocks of one KQCStringPool, and are stored in file
// order a few dozen at a time, with the same result as one at a time; when memory runs out, the texts read
// before the failure are stored (as far as memory allows) before std::bad_alloc passes on.
template <class Reader, class Seen> void kqLoadRecords(Reader& reader, KQMessageTable& table, Seen&& seen) {
  KQCStringPool texts; // the texts share large blocks: one allocation per block, not one per text
  KQPendingTexts pending(table);
  try {
    while (reader.more()) { // neither at the end nor failed
      std::int32_t number = 0;
      const std::string_view text = reader.read(number);
      if (!text.empty())
        pending.add(texts, number, text);
      seen(number, text);
    }
  } catch (...) {
    pending.store(); // what was read before the failure is stored, as if stored record by record
    throw;
  }
  pending.store();
}

// The catalogue's load: kqLoadRecords with the catalogue's reader.
void loadMessages(std::istream& in, KQMessageTable& table);
