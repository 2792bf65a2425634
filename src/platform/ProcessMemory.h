#pragma once

#include <cstddef>

namespace platform {

// Keeps the memory the process frees for its own reuse instead of handing blocks of a few megabytes back to
// the system at once. Opening a card builds lists of tens of thousands of rows, freed and built again on the
// next open; memory taken fresh from the system costs a page fault per page on its first write, which on a
// virtual machine costs about as much as building the rows themselves. Called once, before the first open.
void KeepFreedMemoryForReuse();

// The limits it sets: blocks up to this size come from the process's own heap, and the heap gives memory back
// only beyond the second.
inline constexpr size_t kHeapBlockLimit = 16u << 20;
inline constexpr size_t kHeapKeptLimit = 64u << 20;

} // namespace platform
