// KQMessageTable with a view of what no public operation shows (buckets, free list, blocks).
#pragma once

#include "kqmessages.h"
#include "kqnodepoison.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

inline std::string kqText(const KQCString& s) {
  return std::string(s.data(), static_cast<size_t>(s.length()));
}

using KQEntries = std::vector<std::pair<long, std::string>>;
inline KQEntries kqWalk(const KQMessageTable& table) {
  KQEntries entries;
  for (void* pos = table.getStartPosition(); pos != nullptr;) {
    long key = 0;
    KQCString value;
    table.getNextAssoc(pos, key, value);
    entries.emplace_back(key, kqText(value));
  }
  return entries;
}

class KQTableProbe : public KQMessageTable {
public:
  using KQMessageTable::KQMessageTable;

  size_t bucketFor(long key) const {
    size_t bucket = 0;
    getAssocAt(key, bucket);
    return bucket;
  }
  const void* nodeFor(long key) const {
    size_t bucket = 0;
    return getAssocAt(key, bucket);
  }
  size_t blockCount() const {
    size_t n = 0;
    for (const KQTBlock* b = blocks; b != nullptr; b = b->link)
      ++n;
    return n;
  }
  const void* freeHead() const { return freeList; }
  const void* firstSlotOfNewestBlock() const {
    return reinterpret_cast<const char*>(blocks) + sizeof(KQTAssoc);
  }
  bool hasBucketArray() const { return hashTable != nullptr; }

  // "" or the first invariant broken. The loops stop one past a correct count: a cycle shows as a count.
  std::string invariants() const {
    size_t live = 0, capacity = 0, free = 0;
    for (size_t b = 0; hashTable != nullptr && b < hashTableSize; ++b)
      for (const KQTAssoc* node = hashTable[b]; node != nullptr && live <= count; node = node->next, ++live)
        if (node->bucket != b || static_cast<std::uint32_t>(node->key) % hashTableSize != b)
          return "key " + std::to_string(node->key) + " misplaced in bucket " + std::to_string(b);
    if (live != count)
      return "count " + std::to_string(count) + ", nodes in the buckets " + std::to_string(live);
    for (const KQTBlock* b = blocks; b != nullptr; b = b->link) {
      if (b->nodeCount != blockSize || b->zero != 0)
        return "bad block header";
      capacity += b->nodeCount;
    }
    for (KQTAssoc* node = freeList; node != nullptr && free <= capacity; ++free) {
      const bool poisoned = kqPoisoned(node);
      kqUnpoison(node, sizeof(KQTAssoc)); // free nodes are poisoned: look, then poison again
      const std::int32_t key = node->key;
      KQTAssoc* next = node->next;
      kqPoison(node, sizeof(KQTAssoc));
      if (key != 0 || !poisoned)
        return "free node with key " + std::to_string(key) + (poisoned ? "" : ", not poisoned");
      node = next;
    }
    if (free + live != capacity)
      return "free and live nodes do not fill the blocks' " + std::to_string(capacity) + " slots";
    return "";
  }
};
