#include "core/base/Allocator.h"

#include <cstdlib> // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif
#if defined(__linux__)
#include <sys/mman.h>
#endif

#include <cstdint>

namespace puka::allocator {

void keepFreedMemory() {
#if defined(__GLIBC__)
    // 32 MB is the largest mapping threshold the C library would reach by itself; blocks below
    // it come from the heap, and up to 128 MB of free heap stays with the process
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
#endif
}

void reserveLargePages(std::size_t bytes) {
#if defined(__GLIBC__) && defined(__linux__) && defined(MADV_HUGEPAGE)
    // the block comes from the top of the heap; freed, it stays there (keepFreedMemory()), and
    // the allocations that follow are made from the same addresses
    void* block = std::malloc(bytes);
    if (!block)
        return;
    constexpr std::uintptr_t kLargePage = 2 * 1024 * 1024;
    const auto first = reinterpret_cast<std::uintptr_t>(block);
    const std::uintptr_t start = (first + kLargePage - 1) & ~(kLargePage - 1);
    const std::uintptr_t end = (first + bytes) & ~(kLargePage - 1);
    if (end > start)
        madvise(reinterpret_cast<void*>(start), end - start, MADV_HUGEPAGE); // a hint: a refusal changes nothing
    std::free(block);
#else
    (void)bytes;
#endif
}

} // namespace puka::allocator
