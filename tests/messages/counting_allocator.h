// Counts the global allocations made while an AllocationWatch is alive, and can make the n-th of them
// fail with std::bad_alloc. The table's code is linked into the test executable, so the replaced global
// operators (counting_allocator.cpp) see its allocations.
#pragma once

class AllocationWatch {
public:
  // failAt: the number (from 1) of the allocation that throws; 0 never fails.
  explicit AllocationWatch(long failAt = 0);
  ~AllocationWatch();
  AllocationWatch(const AllocationWatch&) = delete;
  AllocationWatch& operator=(const AllocationWatch&) = delete;

  long allocations() const; // made (the failing one included)
  long releases() const;
  bool failed() const; // the failing allocation was reached
};
