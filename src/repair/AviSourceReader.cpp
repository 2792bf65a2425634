#include "repair/AviSourceReader.h"

#include "platform/FileTransfer.h"

#include <QFileDevice>
#include <QIODevice>

#include <algorithm>
#include <cerrno>
#include <cstring>

AviSourceReader::AviSourceReader(QIODevice* device, int64_t fileSize)
    : m_device(device)
    , m_file(qobject_cast<QFileDevice*>(device))
    , m_fileSize(fileSize)
    , m_peek(size_t(kPeekBytes))
{
    if (m_file) {
        platform::adviseSequential(*m_file);
        m_path = m_file->fileName();
        m_identity = platform::fileIdentity(*m_file);
    }
}

bool AviSourceReader::gone(int error) const
{
    if (error == ENODEV || error == ENXIO || error == ESTALE || error == EBADF)
        return true;
    if (!m_identity || m_path.isEmpty())
        return false;
    const std::optional<platform::FileIdentity> now = platform::fileIdentity(m_path);
    return !now || *now != *m_identity;
}

const unsigned char* AviSourceReader::peek(int64_t pos, int64_t wanted, int64_t* available)
{
    wanted = std::clamp<int64_t>(std::min(wanted, m_fileSize - pos), 0, kPeekBytes);
    if (pos < m_peekStart || pos + wanted > m_peekStart + m_peekLength) {
        m_peekStart = pos;
        m_peekLength = read(pos, m_peek.data(), std::clamp<int64_t>(m_fileSize - pos, 0, kPeekBytes));
        if (m_file && pos + kPrefetchBytes / 2 > m_prefetchedTo) {
            // keep the card reading ahead of the walk in large pieces
            platform::prefetch(*m_file, pos, kPrefetchBytes);
            m_prefetchedTo = pos + kPrefetchBytes;
        }
    }
    *available = std::min(wanted, m_peekLength);
    return m_peek.data() + (pos - m_peekStart);
}

const unsigned char* AviSourceReader::block(int64_t pos, int64_t wanted, int64_t* available)
{
    wanted = std::clamp<int64_t>(std::min(wanted, m_fileSize - pos), 0, kBlockBytes);
    // A small file never needs the whole block: the buffer grows with what is asked of it.
    if (int64_t(m_block.size()) < wanted)
        m_block.resize(size_t(std::min(kBlockBytes, std::max(wanted, int64_t(m_block.size()) * 2))));
    *available = read(pos, m_block.data(), wanted);
    return m_block.data();
}

int64_t AviSourceReader::readOnce(int64_t pos, unsigned char* into, int64_t size)
{
    if (m_file && m_file->handle() >= 0)
        return platform::readAt(*m_file, pos, into, size);
    errno = EIO; // what a device that is not a file reports on failure
    errno = EIO; // what a device that is not a file reports on failure
    if (!m_device->seek(pos))
        return -1;
    int64_t done = 0;
    while (done < size) {
        const qint64 n = m_device->read(reinterpret_cast<char*>(into + done), size - done);
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

int64_t AviSourceReader::read(int64_t pos, unsigned char* into, int64_t size)
{
    if (m_failed.load() || size <= 0)
        return 0;
    // A read that ends short of the size the file had at the start means the file was cut or removed.
    const int64_t expected = std::clamp<int64_t>(m_fileSize - pos, 0, size);
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int64_t n = readOnce(pos, into, expected);
        if (n == expected)
            return n;
        if (n >= 0 || gone(errno)) {
            m_failed = true;
            return 0;
        }
    }
    // Step over what cannot be read in small pieces, keeping every piece that can. In a long run of failing
    // pieces (a bad area) the pieces after each failure are given up unasked over a growing distance, as a
    // rescue tool does: each failing read can take the card a long time, and what is given up past the end of
    // the bad area is at most about as long as the area itself.
    int failedInARow = 0;
    int64_t jump = kRescuePieceBytes;
    for (int64_t at = pos; at < pos + expected;) {
        const int64_t pieceEnd = std::min(pos + expected, (at / kRescuePieceBytes + 1) * kRescuePieceBytes);
        const int64_t n = readOnce(at, into + (at - pos), pieceEnd - at);
        if (n == pieceEnd - at) {
            failedInARow = 0;
            jump = kRescuePieceBytes;
            at = pieceEnd;
            continue;
        }
        if (n >= 0 || gone(errno)) {
            m_failed = true;
            return 0;
        }
        int64_t badEnd = pieceEnd;
        if (++failedInARow >= kMaxFailedPiecesInARow) {
            badEnd = std::min(pos + expected, pieceEnd + jump);
            jump = std::min(jump * 2, kMaxJumpBytes);
        }
        std::memset(into + (at - pos), 0, size_t(badEnd - at));
        noteUnreadable(at, badEnd - at);
        if (unreadableBytes() > kMaxUnreadableBytes) {
            m_failed = true;
            return 0;
        }
        at = badEnd;
    }
    return expected;
}

void AviSourceReader::noteUnreadable(int64_t pos, int64_t size)
{
    const std::lock_guard<std::mutex> lock(m_badMutex);
    int64_t start = pos;
    int64_t end = pos + size;
    // Merge with every range it touches.
    auto it = m_bad.upper_bound(start);
    if (it != m_bad.begin() && std::prev(it)->second >= start)
        --it;
    while (it != m_bad.end() && it->first <= end) {
        start = std::min(start, it->first);
        end = std::max(end, it->second);
        m_badBytes -= it->second - it->first;
        it = m_bad.erase(it);
    }
    m_bad.emplace(start, end);
    m_badBytes += end - start;
    m_anyBad = true;
}

bool AviSourceReader::unreadableWithin(int64_t pos, int64_t size) const
{
    if (!m_anyBad.load() || size <= 0)
        return false;
    const std::lock_guard<std::mutex> lock(m_badMutex);
    auto it = m_bad.upper_bound(pos);
    if (it != m_bad.begin() && std::prev(it)->second > pos)
        return true;
    return it != m_bad.end() && it->first < pos + size;
}

int64_t AviSourceReader::unreadableBytes() const
{
    const std::lock_guard<std::mutex> lock(m_badMutex);
    return m_badBytes;
}
