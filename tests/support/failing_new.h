// Native tests only: replaces the executable's global allocation operators so that a test can make one
// chosen allocation, or every one, fail with std::bad_alloc (null from the nothrow forms). The code under
// test must be linked into the executable. Include this header in exactly one source file of a program.
//
//   kqtest::failingNew.arm(3);               // the third allocation from now fails
//   ... operation ...
//   const bool hit = kqtest::failingNew.disarm(); // it was reached
//
// Single-threaded: the counters are plain fields.
#pragma once

#include <cstdlib>
#include <new>

namespace kqtest {

struct FailingNew {
  long failAt = 0;            // the allocation that fails, counted from 1 with `made`; 0: none
  bool failAll = false;       // every allocation fails
  bool failed = false;        // an allocation failed since the last arm
  long made = 0;              // allocations asked for since `made` was last set to 0, failed ones included
  std::size_t failedSize = 0; // the size asked for by the last one that failed

  // From now on allocation n fails (n 0: none; `all`: every one).
  void arm(long n, bool all = false) { made = 0, failAt = n, failAll = all, failed = false; }
  // Nothing fails any more; true when the chosen allocation was reached.
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

inline FailingNew failingNew; // constant-initialised: usable before any constructor runs

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
