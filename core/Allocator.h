#pragma once

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

} // namespace allocator
} // namespace puka
