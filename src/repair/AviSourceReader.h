#pragma once

#include "platform/FileTransfer.h"

#include <QString>

#include <atomic>
#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <vector>

class QIODevice;
class QFileDevice;

// Reads the source of a repair: small peeks at chunk headers, and larger blocks where damage has to be
// searched byte by byte. The data of kept chunks is never read here; the target writer moves it from file to
// file.
//
// A worn card returns read errors for single sectors. Such a range is damage like garbage bytes, not the end of
// the repair: a failed read is tried once more, then read again in small pieces (as a rescue tool does); the
// pieces that still fail read as zeros and are remembered, so that the walk never takes a chunk that overlaps
// them, and counted. Only when the source is gone (removed, or so much of it unreadable that the card is
// plainly no longer there) does the reader fail for good.
class AviSourceReader
{
public:
    AviSourceReader(QIODevice* device, int64_t fileSize);

    // Up to `wanted` (at most kPeekBytes) bytes at `pos`; *available tells how many are there, fewer only at
    // the end of the file or when the source is gone. Valid until the next peek.
    const unsigned char* peek(int64_t pos, int64_t wanted, int64_t* available);
    // Up to `wanted` (at most kBlockBytes) bytes at `pos`, valid until the next block() call.
    const unsigned char* block(int64_t pos, int64_t wanted, int64_t* available);
    // Reads `size` bytes at `pos` into `into`, unreadable pieces as zeros; returns how many were read, fewer
    // only at the end of the file or when the source is gone. On a plain file this may be called from any
    // thread.
    int64_t read(int64_t pos, unsigned char* into, int64_t size);

    // Whether any byte of the range was found unreadable so far.
    bool unreadableWithin(int64_t pos, int64_t size) const;
    // The unreadable bytes found so far (each counted once).
    int64_t unreadableBytes() const;

    QFileDevice* file() const { return m_file; }
    // The source is gone: nothing more can be read from it.
    bool failed() const { return m_failed.load(); }

    static constexpr int64_t kPeekBytes = 4096;
    static constexpr int64_t kBlockBytes = 4 * 1024 * 1024;
    // Unreadable ranges are stepped over in pieces of this size (a card's sector).
    static constexpr int64_t kRescuePieceBytes = 512;
    // After this many failing pieces in a row the reader skips ahead over a bad area, at most this far at once.
    static constexpr int kMaxFailedPiecesInARow = 8;
    static constexpr int64_t kMaxJumpBytes = 1024 * 1024;
    // More unreadable bytes than this and the card is taken to be gone.
    static constexpr int64_t kMaxUnreadableBytes = 64 * 1024 * 1024;

private:
    static constexpr int64_t kPrefetchBytes = 32 * 1024 * 1024;

    // One attempt: the bytes read, fewer at the end of the file, or -1 on an error.
    int64_t readOnce(int64_t pos, unsigned char* into, int64_t size);
    void noteUnreadable(int64_t pos, int64_t size);
    // After a failed read: whether the file is no longer there (card pulled, file removed or replaced).
    bool gone(int error) const;

    QIODevice* m_device;
    QFileDevice* m_file;
    QString m_path;
    std::optional<platform::FileIdentity> m_identity;
    int64_t m_fileSize;
    std::vector<unsigned char> m_peek;
    std::vector<unsigned char> m_block;
    int64_t m_peekStart = 0;
    int64_t m_peekLength = 0;
    int64_t m_prefetchedTo = 0;
    std::atomic<bool> m_failed { false };

    mutable std::mutex m_badMutex;
    std::map<int64_t, int64_t> m_bad; // start -> end of each unreadable range, merged
    int64_t m_badBytes = 0;
    std::atomic<bool> m_anyBad { false };
};
