#pragma once

#include <cstddef>

namespace platform {

// Keeps the memory the process frees for its own reuse instead of handing blocks of a few megabytes back to
// the system at once. Opening a card builds lists of tens of thousands of rows, freed and built again on the
// next open; memory taken fresh from the system costs a page fault per page on its first write, which on a
// virtual machine costs about as much as building the rows themselves. Called once, before the first open.
void KeepFreedMemoryForReuse();

// The limits it sets: blocks up to this size come from the process's own heap (a card of 20,000 recordings
// builds lists of up to about 2 MB), and the heap gives memory back once more than the second is free at its
// end. Larger limits let a long session's video pictures settle in the heap: at 16 and 64 MB the resident
// memory grew by 57 MB over 450 opens of recordings, where it must stay flat.
inline constexpr size_t kHeapBlockLimit = 4u << 20;
inline constexpr size_t kHeapKeptLimit = 8u << 20;

} // namespace platform
