// KQMessageTable: buckets of singly linked chains, nodes carved from blocks and recycled through a free list.
#include "kqmessages.h"
#include "kqnodepoison.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>

namespace {
// Message numbers are 32-bit whatever the width of long: the conversion keeps the low 32 bits.
std::int32_t toKey(long key) {
  return static_cast<std::int32_t>(key);
}

void* beforeStart() {
  return reinterpret_cast<void*>(~std::uintptr_t{0});
}
} // namespace

KQMessageTable::~KQMessageTable() {
  removeAll();
}

KQMessageTable::KQTAssoc** KQMessageTable::newBucketArray(size_t size) const {
  return new KQTAssoc*[size]();
}

KQMessageTable::KQTAssoc* KQMessageTable::newAssoc() {
  static_assert(sizeof(KQTBlock) <= sizeof(KQTAssoc), "the block header takes one node slot");
  if (freeList == nullptr) {
    if (blockSize > std::numeric_limits<size_t>::max() / sizeof(KQTAssoc) - 1)
      throw std::bad_alloc();
    std::byte* raw = static_cast<std::byte*>(::operator new((blockSize + 1) * sizeof(KQTAssoc)));
    blocks = new (raw) KQTBlock{blocks, blockSize, 0};
    // Pushed from the last slot to the first, so that nodes leave the free list in ascending order.
    for (size_t slot = blockSize; slot >= 1; --slot) {
      KQTAssoc* node = new (raw + slot * sizeof(KQTAssoc)) KQTAssoc;
      node->next = freeList;
      node->bucket = 0;
      node->key = 0;
      freeList = node;
      kqPoison(node, sizeof(KQTAssoc));
    }
  }
  KQTAssoc* node = freeList;
  kqUnpoison(node, sizeof(KQTAssoc));
  freeList = node->next;
  ++count;
  node->key = 0;
  new (&node->value) KQCString();
  return node;
}

void KQMessageTable::freeAssoc(KQTAssoc* node) {
  node->key = 0;
  node->value.~KQCString();
  node->next = freeList;
  freeList = node;
  --count;
  kqPoison(node, sizeof(KQTAssoc));
}

KQCString& KQMessageTable::operator[](long key) {
  size_t bucket = 0;
  if (KQTAssoc* node = getAssocAt(key, bucket))
    return node->value;
  if (hashTable == nullptr)
    hashTable = newBucketArray(hashTableSize);
  KQTAssoc* node = newAssoc();
  node->bucket = bucket;
  node->key = toKey(key);
  node->next = hashTable[bucket];
  hashTable[bucket] = node;
  return node->value;
}

void KQMessageTable::setAt(long key, const char* text) {
  size_t bucket = 0;
  const bool existed = getAssocAt(key, bucket) != nullptr;
  KQCString& value = (*this)[key];
  try {
    value = text != nullptr ? text : "";
  } catch (...) {
    if (!existed)
      removeKey(key); // an insertion that could not take its text leaves no trace
    throw;
  }
}

int KQMessageTable::lookup(long key, KQCString& value) const {
  size_t bucket = 0;
  const KQTAssoc* node = getAssocAt(key, bucket);
  if (node == nullptr)
    return 0;
  value = node->value;
  return 1;
}

int KQMessageTable::removeKey(long key) {
  if (hashTable == nullptr)
    return 0;
  const std::int32_t k = toKey(key);
  for (KQTAssoc** link = &hashTable[bucketOf(k)]; *link != nullptr; link = &(*link)->next) {
    KQTAssoc* node = *link;
    if (node->key == k) {
      *link = node->next;
      freeAssoc(node);
      return 1;
    }
  }
  return 0;
}

void KQMessageTable::removeAll() {
  if (hashTable != nullptr) {
    for (size_t bucket = 0; bucket < hashTableSize; ++bucket) {
      for (KQTAssoc* node = hashTable[bucket]; node != nullptr; node = node->next) {
        node->value.~KQCString();
        node->key = 0;
      }
    }
    delete[] hashTable;
  }
  hashTable = nullptr;
  count = 0;
  freeList = nullptr;
  while (blocks != nullptr) {
    KQTBlock* earlier = blocks->link;
    kqUnpoison(blocks, (blocks->nodeCount + 1) * sizeof(KQTAssoc));
    ::operator delete(blocks);
    blocks = earlier;
  }
}

void KQMessageTable::initHashTable(size_t hashSize, int allocNow) {
  if (hashSize == 0)
    hashSize = 1; // every keyed operation divides by the size
  if (count != 0) {
    // Entries would be lost with the old array: move them to their new buckets instead.
    KQTAssoc** fresh = newBucketArray(hashSize);
    for (size_t bucket = 0; bucket < hashTableSize; ++bucket) {
      for (KQTAssoc* node = hashTable[bucket]; node != nullptr;) {
        KQTAssoc* next = node->next;
        node->bucket = static_cast<std::uint32_t>(node->key) % hashSize;
        node->next = fresh[node->bucket];
        fresh[node->bucket] = node;
        node = next;
      }
    }
    delete[] hashTable;
    hashTable = fresh;
    hashTableSize = hashSize;
    return;
  }
  delete[] hashTable;
  hashTable = nullptr;
  if (allocNow != 0)
    hashTable = newBucketArray(hashSize);
  hashTableSize = hashSize;
}

void* KQMessageTable::getStartPosition() const {
  return count != 0 ? beforeStart() : nullptr;
}

void KQMessageTable::getNextAssoc(void*& position, long& key, KQCString& value) const {
  if (position == nullptr)
    return;
  if (count == 0) { // emptied since the walk began: the position may name a freed or released node
    position = nullptr;
    return;
  }
  const KQTAssoc* current = static_cast<const KQTAssoc*>(position);
  if (position == beforeStart()) {
    current = nullptr;
    for (size_t bucket = 0; current == nullptr; ++bucket) // count > 0: some bucket has a head
      current = hashTable[bucket];
  }
  KQTAssoc* following = current->next;
  for (size_t bucket = current->bucket + 1; following == nullptr && bucket < hashTableSize; ++bucket)
    following = hashTable[bucket];
  value = current->value; // first, so that an allocation failure leaves the walk where it was
  key = current->key;
  position = following;
}
