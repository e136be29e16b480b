// Storage for the one large table of a run, the optical depths (some
// 150 MB): asked for in 2 MB pages where the system gives them on request
// (Linux transparent huge pages), so that clearing it for the first time
// costs some 70 page faults instead of 36000. Elsewhere, or when the system
// declines, it is ordinary memory.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <new>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace tesk {

template <class T>
struct LargePageAllocator {
  using value_type = T;
  static constexpr std::size_t kPage = std::size_t{2} << 20;

  LargePageAllocator() = default;
  template <class U>
  LargePageAllocator(const LargePageAllocator<U>&) {}

  T* allocate(std::size_t n) {
    if (n > (static_cast<std::size_t>(-1) - kPage) / sizeof(T)) throw std::bad_alloc();
    const std::size_t bytes = (n * sizeof(T) + kPage - 1) / kPage * kPage;
    void* p = std::aligned_alloc(kPage, bytes);
    if (p == nullptr) throw std::bad_alloc();
#if defined(__linux__) && defined(MADV_HUGEPAGE)
    ::madvise(p, bytes, MADV_HUGEPAGE);  // only a hint: a refusal leaves small pages
#endif
    return static_cast<T*>(p);
  }
  void deallocate(T* p, std::size_t) { std::free(p); }

  template <class U>
  bool operator==(const LargePageAllocator<U>&) const {
    return true;
  }
};

}  // namespace tesk
