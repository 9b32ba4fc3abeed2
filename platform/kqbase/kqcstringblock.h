// The block of characters that a KQCStringPool shares among many KQCStrings. Internal to kqbase.
//
// A KQCString whose `capacity` is negative holds characters inside such a block, -capacity bytes after
// the block's start. The block counts its users: every string whose characters lie in it, plus, while the
// pool still writes into it, a large reserve that the pool gives back when it moves on. Whoever brings the
// count to zero releases the block, on whatever thread that happens.
#pragma once

#include <atomic>
#include <cstdint>
#include <new>

struct KQCStringBlock {
  std::atomic<std::int64_t> users;

  // The block that holds a shared string's characters.
  static KQCStringBlock* of(char* chars, int capacity) noexcept {
    return reinterpret_cast<KQCStringBlock*>(chars + capacity);
  }
  // Gives back `count` uses; the last one releases the block.
  static void release(KQCStringBlock* block, std::int64_t count) noexcept {
    if (block->users.fetch_sub(count, std::memory_order_acq_rel) == count) {
      block->~KQCStringBlock();
      ::operator delete(static_cast<void*>(block));
    }
  }
};
