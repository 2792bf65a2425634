#pragma once

#include <cstdint>
#include <vector>

class QIODevice;
class QFileDevice;

// Reads the source of a repair: small peeks at chunk headers, and larger blocks where damage has to be
// searched byte by byte. The data of kept chunks is never read here; the target writer moves it from file to
// file.
class AviSourceReader
{
public:
    AviSourceReader(QIODevice* device, int64_t fileSize);

    // Up to `wanted` (at most kPeekBytes) bytes at `pos`; *available tells how many are there, fewer only at
    // the end of the file or after a read failure. Valid until the next peek.
    const unsigned char* peek(int64_t pos, int64_t wanted, int64_t* available);
    // Up to `wanted` (at most kBlockBytes) bytes at `pos`, valid until the next block() call.
    const unsigned char* block(int64_t pos, int64_t wanted, int64_t* available);
    // Reads `size` bytes at `pos` into `into`; returns how many were read.
    int64_t read(int64_t pos, unsigned char* into, int64_t size);

    QFileDevice* file() const { return m_file; }
    bool failed() const { return m_failed; }

    static constexpr int64_t kPeekBytes = 4096;
    static constexpr int64_t kBlockBytes = 4 * 1024 * 1024;

private:
    static constexpr int64_t kPrefetchBytes = 32 * 1024 * 1024;

    QIODevice* m_device;
    QFileDevice* m_file;
    int64_t m_fileSize;
    std::vector<unsigned char> m_peek;
    std::vector<unsigned char> m_block;
    int64_t m_peekStart = 0;
    int64_t m_peekLength = 0;
    int64_t m_prefetchedTo = 0;
    bool m_failed = false;
};
