// KQCStringPool: texts copied into shared, counted blocks.
#include "kqcstringpool.h"

#include "kqcstringblock.h"

#include <cstring>
#include <new>

namespace {
// The count a block starts with while its pool writes into it: more than the strings it can hold, so that
// strings destroyed meanwhile never bring the count to zero. Handing characters to a string then costs no
// atomic operation; the pool gives back what it did not hand out when it leaves the block.
constexpr std::int64_t poolReserve = std::int64_t{1} << 40;
// The block's header, rounded up so that the characters start on a 16-byte boundary.
constexpr std::size_t headerBytes = (sizeof(KQCStringBlock) + 15) / 16 * 16;

KQCStringBlock* newBlock(std::size_t characters, std::int64_t users) {
  void* raw = ::operator new(headerBytes + characters);
  return new (raw) KQCStringBlock{users};
}
char* charactersOf(KQCStringBlock* block) {
  return reinterpret_cast<char*>(block) + headerBytes;
}
} // namespace

KQCStringPool::~KQCStringPool() {
  leave();
}

void KQCStringPool::leave() noexcept {
  if (block != nullptr)
    KQCStringBlock::release(block, poolReserve - given);
  block = nullptr;
  next = end = nullptr;
  given = 0;
}

void KQCStringPool::assign(KQCString& target, const char* text, int length) {
  if (text == nullptr || length <= 0) {
    target.assign(nullptr, 0);
    return;
  }
  const std::size_t needed = static_cast<std::size_t>(length) + 1;
  char* chars = nullptr;
  KQCStringBlock* holder = nullptr;
  if (needed > ownBlockAbove) {
    holder = newBlock(needed, 1);
    chars = charactersOf(holder);
  } else {
    if (block == nullptr || static_cast<std::size_t>(end - next) < needed) {
      KQCStringBlock* fresh = newBlock(blockBytes, poolReserve); // first: a failure changes nothing
      leave();
      block = fresh;
      next = charactersOf(fresh);
      end = next + blockBytes;
    }
    holder = block;
    chars = next;
    next += needed;
    ++given;
  }
  std::memcpy(chars, text, static_cast<std::size_t>(length)); // before the release: text may be target's
  chars[length] = '\0';
  target.release();
  target.chars = chars;
  target.size = length;
  target.capacity = -static_cast<int>(chars - reinterpret_cast<char*>(holder));
}
