// KQCStringPool: gives many KQCStrings their characters from a few large blocks instead of one
// allocation each. Made for filling many strings at once, as the message catalogue does when it loads a
// file: a text then costs a copy into the current block, not an allocation of its own.
//
// A string filled by a pool behaves like any other KQCString: a copy of it gets characters of its own, a
// move carries the shared characters along, and any change (operator=, assign, append) gives the string
// characters of its own first. A block is released when the pool has moved on from it (or is destroyed)
// and the last string holding characters in it is gone, on whichever thread that string is destroyed. So
// one long-lived string keeps its whole block alive: at most 64 KiB, or its own text alone when that is
// longer than 8 KiB.
//
// A pool is used by one thread at a time; the strings it fills may live and die on any thread.
#pragma once

#include "kqcstring.h"

#include <cstddef>
#include <cstdint>

struct KQCStringBlock;

class KQBASE_API KQCStringPool {
public:
  KQCStringPool() noexcept = default;
  // Moves on from the current block: the block lives on for as long as strings use it.
  ~KQCStringPool();
  KQCStringPool(const KQCStringPool&) = delete;
  KQCStringPool& operator=(const KQCStringPool&) = delete;

  // Makes `target` hold a copy of the `length` bytes at `text` (NUL bytes kept) with a terminator after
  // them; `text` may point into `target`. A length of 0 or less, or a null `text`, gives the empty text.
  // Throws std::bad_alloc, leaving `target` unchanged, when a new block cannot be allocated.
  void assign(KQCString& target, const char* text, int length);

private:
  static constexpr std::size_t blockBytes = 64 * 1024;   // characters per shared block
  static constexpr std::size_t ownBlockAbove = 8 * 1024; // longer texts get a block of their own

  // Gives back the uses reserved in the current block but not handed to strings.
  void leave() noexcept;

  KQCStringBlock* block = nullptr; // the block being filled
  char* next = nullptr;            // its first free byte
  char* end = nullptr;             // one past its last byte
  std::int64_t given = 0;          // strings given characters in it
};
