// A view into KQMessageTable's nodes for checks: verifies the structural invariants that no public
// operation shows (bucket fields, free list, block headers).
#pragma once

#include "kqmessages.h"
#include "kqnodepoison.h"

#include <cstdint>
#include <set>
#include <string>

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
  const void* newestBlock() const { return blocks; }
  // Reads the key of a node, live or not (to show that a free node cannot be read).
  static std::int32_t touch(const void* node) {
    return *static_cast<const volatile std::int32_t*>(&static_cast<const KQTAssoc*>(node)->key);
  }
  bool hasBucketArray() const { return hashTable != nullptr; }

  // "" when every invariant holds, else the first one broken.
  std::string invariants() const {
    size_t live = 0;
    std::set<std::int32_t> keys;
    if (hashTable != nullptr) {
      for (size_t b = 0; b < hashTableSize; ++b) {
        for (const KQTAssoc* node = hashTable[b]; node != nullptr; node = node->next) {
          if (node->bucket != b)
            return "node in bucket " + std::to_string(b) + " says bucket " + std::to_string(node->bucket);
          if (static_cast<std::uint32_t>(node->key) % hashTableSize != b)
            return "key " + std::to_string(node->key) + " in the wrong bucket";
          if (!keys.insert(node->key).second)
            return "key " + std::to_string(node->key) + " stored twice";
          if (++live > count + 1)
            return "more nodes in the buckets than count";
        }
      }
    }
    if (live != count)
      return "count " + std::to_string(count) + " but " + std::to_string(live) + " nodes in the buckets";
    size_t capacity = 0;
    for (const KQTBlock* b = blocks; b != nullptr; b = b->link) {
      if (b->nodeCount != blockSize || b->zero != 0)
        return "bad block header";
      capacity += b->nodeCount;
    }
    size_t free = 0;
    for (KQTAssoc* node = freeList; node != nullptr;) {
      kqUnpoison(node, sizeof(KQTAssoc)); // free nodes are poisoned: look, then poison again
      const std::int32_t key = node->key;
      KQTAssoc* next = node->next;
      kqPoison(node, sizeof(KQTAssoc));
      if (key != 0)
        return "free node with key " + std::to_string(key);
      if (++free > capacity)
        return "free list longer than the blocks";
      node = next;
    }
    if (free + live != capacity)
      return std::to_string(free) + " free + " + std::to_string(live) + " live nodes in " +
             std::to_string(capacity) + " slots";
    if (hashTable == nullptr && count != 0)
      return "entries without a bucket array";
    return "";
  }
};
