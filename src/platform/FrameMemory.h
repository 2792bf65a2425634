#pragma once

#include <cstddef>
#include <cstdint>

// One block of memory for decoded video frames (several megabytes each), taken straight from the system in
// whole pages, each frame starting on a page of its own. Where the system offers huge pages the block asks
// for them: a fresh block is touched page by page by its first frames, and with small pages those faults
// cost as much as converting a frame; huge pages also spare the copies of every frame most of their
// address-translation misses. The contents start undefined.
//
// A shared block lives in a file of memory instead, which the display server can map too: frames in it are
// put on screen by the server without the toolkit copying them first. Shared memory comes in small pages
// only, where the system keeps huge ones for private memory.
class FrameMemory
{
public:
    enum Sharing { Private, Shared };

    // `count` frames of `frameBytes` each; isNull() when the system refused the memory.
    FrameMemory(int count, size_t frameBytes, Sharing sharing = Private);
    ~FrameMemory();
    FrameMemory(const FrameMemory&) = delete;
    FrameMemory& operator=(const FrameMemory&) = delete;

    bool isNull() const { return m_base == nullptr; }
    int count() const { return m_count; }
    // Frame `index` (0 ≤ index < count()), page-aligned.
    unsigned char* frame(int index) const;
    // Bytes from one frame's start to the next: frameBytes rounded up to whole pages.
    size_t frameSpan() const { return m_span; }
    // The memory file of a shared block (owned by the block, valid while it lives), or -1.
    int shareHandle() const { return m_shareHandle; }
    // Unique in the process for its lifetime: another block may come at the same address or handle later.
    uint64_t serial() const { return m_serial; }

private:
    void* m_mapping = nullptr;
    size_t m_mappingBytes = 0;
    unsigned char* m_base = nullptr;
    size_t m_span = 0;
    int m_count = 0;
    int m_shareHandle = -1;
    uint64_t m_serial = 0;
};
