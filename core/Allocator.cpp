#include "Allocator.h"

#include <cstdlib> // defines __GLIBC__ on the GNU C library

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace puka::allocator {

void keepFreedMemory() {
#if defined(__GLIBC__)
    // 32 MB is the largest mapping threshold the C library would reach by itself; blocks below
    // it come from the heap, and up to 128 MB of free heap stays with the process
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
#endif
}

} // namespace puka::allocator
