// A standard allocator over the system's `allocate`, for containers that grow large.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

#include "runtime/platform/system_calls.h"

/// Takes memory from the system's `allocate`, which lays a block of kLargeAllocation
/// bytes or more on large pages where the system has them: a container of megabytes is
/// then filled with a page fault per large page rather than per page. Refused memory is
/// std::bad_alloc, as with the standard allocator.
template <typename T>
struct SystemAllocator {
  using value_type = T;

  SystemAllocator() = default;
  template <typename U>
  SystemAllocator(const SystemAllocator<U>&) {}

  T* allocate(size_t count) {
    void* memory =
        count > SIZE_MAX / sizeof(T) ? nullptr : systemCalls().allocate(count * sizeof(T));
    if (memory == nullptr) throw std::bad_alloc();
    return static_cast<T*>(memory);
  }
  void deallocate(T* memory, size_t) { systemCalls().release(memory); }

  friend bool operator==(const SystemAllocator&, const SystemAllocator&) { return true; }
};
