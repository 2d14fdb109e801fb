#pragma once

#include <cstddef>

namespace puka {

/// The heap settings of the programs.
namespace allocator {

/**
 * Keeps freed memory for the next user action instead of handing it back to the system at once.
 * Every view reads the whole log afresh and drops it again; with the C library's defaults a
 * log of years is mapped in, faulted in page by page and unmapped again on every action, which
 * costs more than reading it. Call once at the start of main().
 */
void keepFreedMemory();

/**
 * Asks the system to back the next @p bytes of the heap with large pages where it offers them
 * on request (transparent huge pages in "madvise" mode). A program that reads a log of years
 * into memory at once then takes one page fault per 2 MB instead of one per 4 KB, and on a
 * virtual machine the faults cost a third of such a run. Only pages that are used count as
 * its memory. Call once after keepFreedMemory(), before the heap is used; @p bytes stays below
 * the 32 MB that keepFreedMemory() leaves to the heap.
 */
void reserveLargePages(std::size_t bytes);

} // namespace allocator
} // namespace puka
