// Marks free table nodes as unaddressable for AddressSanitizer, so that a use of a removed entry's node is
// reported instead of silently reading whatever the free list left there. Without ASan these do nothing.
#pragma once

#include <cstddef>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KQ_HAS_ASAN 1
#endif
#endif
#if !defined(KQ_HAS_ASAN) && defined(__SANITIZE_ADDRESS__)
#define KQ_HAS_ASAN 1
#endif

#if defined(KQ_HAS_ASAN)
#include <sanitizer/asan_interface.h>
inline void kqPoison(const void* p, std::size_t n) {
  ASAN_POISON_MEMORY_REGION(p, n);
}
inline void kqUnpoison(const void* p, std::size_t n) {
  ASAN_UNPOISON_MEMORY_REGION(p, n);
}
// Whether the byte at `p` is marked so; always true without ASan (for checks of the marking).
inline bool kqPoisoned(const void* p) {
  return __asan_address_is_poisoned(p) != 0;
}
#else
inline void kqPoison(const void*, std::size_t) {}
inline void kqUnpoison(const void*, std::size_t) {}
inline bool kqPoisoned(const void*) {
  return true;
}
#endif
