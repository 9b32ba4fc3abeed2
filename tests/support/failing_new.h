// Native, single-threaded: replaces the global allocation operators (include in one source file of a
// program that links the code under test) so that one chosen allocation, or all, throws std::bad_alloc.
#pragma once

#include <cstdlib>
#include <new>

namespace kqtest {

struct FailingNew {
  long failAt = 0; // counted from 1 by `made`; 0: none
  bool failAll = false;
  bool failed = false; // since the last arm
  long made = 0;
  std::size_t failedSize = 0; // of the last failure

  // From now on allocation n fails (n 0: none; `all`: every one).
  void arm(long n, bool all = false) { made = 0, failAt = n, failAll = all, failed = false; }
  // True when the chosen allocation was reached.
  bool disarm() {
    failAt = 0, failAll = false;
    return failed;
  }

  void* allocate(std::size_t size) {
    if (++made == failAt || failAll) {
      failed = true;
      failedSize = size;
      throw std::bad_alloc();
    }
    void* p = std::malloc(size == 0 ? 1 : size);
    if (p == nullptr)
      throw std::bad_alloc();
    return p;
  }
};

inline FailingNew failingNew; // constant-initialised: usable before any constructor

} // namespace kqtest

// clang-format off
void* operator new(std::size_t size) { return kqtest::failingNew.allocate(size); }
void* operator new[](std::size_t size) { return kqtest::failingNew.allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try { return kqtest::failingNew.allocate(size); } catch (const std::bad_alloc&) { return nullptr; }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
// clang-format on
