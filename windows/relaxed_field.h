// Relaxed whole-value access to a window's view fields. The output window's view update runs on every
// thread that calls Display while its own thread scrolls and paints: each field is read and written
// whole, and a value a moment old is acceptable, but plain accesses from two threads would be a data
// race. Platform-free. Aligned 32-bit fields: relaxed atomics with GCC and clang, volatile accesses
// (atomic on x64) with MSVC; either compiles to a plain move.
#pragma once

inline int KQLoadRelaxed(const int& field) noexcept {
#if defined(_MSC_VER)
  return *static_cast<const volatile int*>(&field);
#else
  return __atomic_load_n(&field, __ATOMIC_RELAXED);
#endif
}

inline void KQStoreRelaxed(int& field, int value) noexcept {
#if defined(_MSC_VER)
  *static_cast<volatile int*>(&field) = value;
#else
  __atomic_store_n(&field, value, __ATOMIC_RELAXED);
#endif
}
