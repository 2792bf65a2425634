#include "platform/FrameMemory.h"

#include <atomic>
#include <cstdint>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

// The size of a huge page on x86-64 and arm64; where it is not, the advice still holds for the pages
// that are.
constexpr size_t kHugePage = size_t(2) << 20;

} // namespace

FrameMemory::FrameMemory(int count, size_t frameBytes, Sharing sharing)
{
    static std::atomic<uint64_t> serials { 0 };
    m_serial = ++serials;
    if (count <= 0 || frameBytes == 0)
        return;
    const long pageSize = sysconf(_SC_PAGESIZE);
    const size_t page = pageSize > 0 ? size_t(pageSize) : 4096;
    const size_t span = (frameBytes + page - 1) / page * page;
    const size_t bytes = span * size_t(count);
    if (sharing == Shared) {
        const int file = memfd_create("korvane-frames", MFD_CLOEXEC);
        if (file < 0)
            return;
        void* mapping = MAP_FAILED;
        if (ftruncate(file, off_t(bytes)) == 0)
            mapping = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
        if (mapping == MAP_FAILED) {
            close(file);
            return;
        }
        m_shareHandle = file;
        m_mapping = mapping;
        m_mappingBytes = bytes;
        m_base = static_cast<unsigned char*>(mapping);
        m_span = span;
        m_count = count;
        return;
    }
    // Huge pages are mapped only at addresses that are multiples of their size: ask for one more and start
    // the block at the first such address inside the mapping.
    const size_t mappingBytes = bytes >= kHugePage ? bytes + kHugePage : bytes;
    void* mapping = mmap(nullptr, mappingBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapping == MAP_FAILED)
        return;
    uintptr_t start = reinterpret_cast<uintptr_t>(mapping);
    if (mappingBytes > bytes) {
        start = (start + kHugePage - 1) & ~uintptr_t(kHugePage - 1);
        // Advice only: without huge pages the block works as well, with small pages.
        (void)madvise(reinterpret_cast<void*>(start), bytes, MADV_HUGEPAGE);
    }
    m_mapping = mapping;
    m_mappingBytes = mappingBytes;
    m_base = reinterpret_cast<unsigned char*>(start);
    m_span = span;
    m_count = count;
}

FrameMemory::~FrameMemory()
{
    if (m_mapping)
        munmap(m_mapping, m_mappingBytes);
    if (m_shareHandle >= 0)
        close(m_shareHandle);
}

unsigned char* FrameMemory::frame(int index) const
{
    if (!m_base || index < 0 || index >= m_count)
        return nullptr;
    return m_base + m_span * size_t(index);
}
