// A standard allocator over the system's `allocate`, for containers that grow large.
#pragma once

#include <cstddef>
#include <cstdint>
#include <new>

#include "runtime/platform/system_calls.h"

/// Takes memory from the system's `allocate`, which lays a block of kLargeAllocation
/// bytes or more on large pages where the system has them: a container of megabytes is
/// then filled with a page fault per large page rather than per page. Refused memory goes
/// to the new handler, and without one is std::bad_alloc, as with the standard allocator.
template <typename T>
struct SystemAllocator {
  using value_type = T;

  SystemAllocator() = default;
  template <typename U>
  SystemAllocator(const SystemAllocator<U>&) {}

  T* allocate(size_t count) {
    if (count > SIZE_MAX / sizeof(T)) throw std::bad_alloc();
    // As operator new does: the new handler is asked before memory is given up for lost,
    // so that a program that ends its run on refused memory does so here too.
    for (;;) {
      if (void* memory = systemCalls().allocate(count * sizeof(T))) return static_cast<T*>(memory);
      const std::new_handler handler = std::get_new_handler();
      if (handler == nullptr) throw std::bad_alloc();
      handler();
    }
  }
  void deallocate(T* memory, size_t) { systemCalls().release(memory); }

  friend bool operator==(const SystemAllocator&, const SystemAllocator&) { return true; }
};
