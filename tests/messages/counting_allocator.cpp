// Replacement global allocation operators for the native message tests (see counting_allocator.h).
#include "counting_allocator.h"

#include <cstdlib>
#include <new>

namespace {
bool watching = false;
long failAt = 0;
long made = 0;
long released = 0;

void* allocate(std::size_t size) {
  if (watching && ++made == failAt)
    throw std::bad_alloc();
  if (void* p = std::malloc(size == 0 ? 1 : size))
    return p;
  throw std::bad_alloc();
}

void release(void* p) noexcept {
  if (watching && p != nullptr)
    ++released;
  std::free(p);
}
} // namespace

AllocationWatch::AllocationWatch(long failAtAllocation) {
  failAt = failAtAllocation;
  made = 0;
  released = 0;
  watching = true;
}
AllocationWatch::~AllocationWatch() {
  watching = false;
}
long AllocationWatch::allocations() const {
  return made;
}
long AllocationWatch::releases() const {
  return released;
}
bool AllocationWatch::failed() const {
  return failAt != 0 && made >= failAt;
}

// clang-format off
void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try { return allocate(size); } catch (const std::bad_alloc&) { return nullptr; }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { release(p); }
void operator delete[](void* p) noexcept { release(p); }
void operator delete(void* p, std::size_t) noexcept { release(p); }
void operator delete[](void* p, std::size_t) noexcept { release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { release(p); }
// clang-format on
