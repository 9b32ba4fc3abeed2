#include "kqcstring.h"

#include "kqcstringblock.h"

#include <climits>
#include <cstring>
#include <new>
#include <utility>

namespace {
char emptyText[1] = {'\0'};
}

KQCString::KQCString() noexcept : chars(emptyText), size(0), capacity(0) {}

KQCString::KQCString(char ch) : KQCString() {
  append(ch, 1);
}

KQCString::KQCString(const KQCString& other) : KQCString() {
  append(other);
}

KQCString::KQCString(KQCString&& other) noexcept
    : chars(std::exchange(other.chars, emptyText)), size(std::exchange(other.size, 0)),
      capacity(std::exchange(other.capacity, 0)) {}

KQCString::~KQCString() {
  release();
}

void KQCString::release() noexcept {
  if (capacity > 0)
    delete[] chars;
  else if (capacity < 0)
    KQCStringBlock::release(KQCStringBlock::of(chars, capacity), 1);
}

KQCString& KQCString::operator=(const KQCString& other) {
  if (this != &other) {
    KQCString copy(other);
    *this = std::move(copy);
  }
  return *this;
}

KQCString& KQCString::operator=(KQCString&& other) noexcept {
  if (this != &other) {
    release();
    chars = std::exchange(other.chars, emptyText);
    size = std::exchange(other.size, 0);
    capacity = std::exchange(other.capacity, 0);
  }
  return *this;
}

KQCString& KQCString::operator=(const char* text) {
  const size_t n = text ? std::strlen(text) : 0;
  if (n > static_cast<size_t>(INT_MAX - 1))
    throw std::bad_alloc();
  return assign(text, static_cast<int>(n));
}

KQCString& KQCString::assign(const char* text, int length) {
  const int n = text != nullptr && length > 0 ? length : 0;
  if (n > INT_MAX - 1)
    throw std::bad_alloc();
  if (capacity > 0 && n <= capacity) {
    if (n > 0)
      std::memmove(chars, text, static_cast<size_t>(n)); // text may point into this string
  } else {
    KQCString fresh; // the empty text needs no characters of its own
    if (n > 0) {
      fresh.reserve(n);
      std::memcpy(fresh.chars, text, static_cast<size_t>(n));
    }
    *this = std::move(fresh);
  }
  size = n;
  if (capacity > 0)
    chars[size] = '\0';
  return *this;
}

KQCString& KQCString::append(const KQCString& other) {
  const int n = other.size;
  if (n == 0)
    return *this;
  if (n > INT_MAX - 1 - size)
    throw std::bad_alloc();
  reserve(size + n); // keeps the old array alive until the copy when appending to itself
  std::memcpy(chars + size, other.chars, static_cast<size_t>(n));
  size += n;
  chars[size] = '\0';
  return *this;
}

KQCString& KQCString::append(char ch, int count) {
  if (count <= 0)
    return *this;
  if (count > INT_MAX - 1 - size)
    throw std::bad_alloc();
  reserve(size + count);
  std::memset(chars + size, static_cast<unsigned char>(ch), static_cast<size_t>(count));
  size += count;
  chars[size] = '\0';
  return *this;
}

// Makes room for `needed` characters plus the terminator, doubling so repeated appends stay cheap.
void KQCString::reserve(int needed) {
  if (capacity > 0 && needed <= capacity)
    return;
  long long grown = capacity < 15 ? 15 : 2LL * capacity;
  if (grown < needed)
    grown = needed;
  if (grown > INT_MAX - 1)
    grown = INT_MAX - 1;
  char* fresh = new char[static_cast<size_t>(grown) + 1];
  std::memcpy(fresh, chars, static_cast<size_t>(size) + 1);
  release();
  chars = fresh;
  capacity = static_cast<int>(grown);
}
