#include "platform/ProcessMemory.h"

#include <malloc.h>

namespace platform {

void KeepFreedMemoryForReuse()
{
    // The C library's own threshold moves with what was freed last, so whether a list of a few megabytes
    // came from the heap or from fresh pages changed from one open to the next: fixed limits make it the heap.
    ::mallopt(M_MMAP_THRESHOLD, static_cast<int>(kHeapBlockLimit));
    ::mallopt(M_TRIM_THRESHOLD, static_cast<int>(kHeapKeptLimit));
}

} // namespace platform
