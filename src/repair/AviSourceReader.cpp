#include "repair/AviSourceReader.h"

#include "platform/FileTransfer.h"

#include <QFileDevice>
#include <QIODevice>

#include <algorithm>

AviSourceReader::AviSourceReader(QIODevice* device, int64_t fileSize)
    : m_device(device)
    , m_file(qobject_cast<QFileDevice*>(device))
    , m_fileSize(fileSize)
    , m_peek(size_t(kPeekBytes))
{
    if (m_file)
        platform::adviseSequential(*m_file);
}

const unsigned char* AviSourceReader::peek(int64_t pos, int64_t wanted, int64_t* available)
{
    wanted = std::clamp<int64_t>(std::min(wanted, m_fileSize - pos), 0, kPeekBytes);
    if (pos < m_peekStart || pos + wanted > m_peekStart + m_peekLength) {
        m_peekStart = pos;
        m_peekLength = read(pos, m_peek.data(), std::min<int64_t>(kPeekBytes, m_fileSize - pos));
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
    if (m_block.empty())
        m_block.resize(size_t(kBlockBytes));
    wanted = std::clamp<int64_t>(std::min(wanted, m_fileSize - pos), 0, kBlockBytes);
    *available = read(pos, m_block.data(), wanted);
    return m_block.data();
}

int64_t AviSourceReader::read(int64_t pos, unsigned char* into, int64_t size)
{
    if (m_file && m_file->handle() >= 0 && !m_failed) {
        const int64_t n = platform::readAt(*m_file, pos, into, size);
        if (n != size)
            m_failed = true;
        return std::max<int64_t>(n, 0);
    }
    int64_t done = 0;
    if (size > 0 && !m_failed && !m_device->seek(pos))
        m_failed = true;
    while (done < size && !m_failed) {
        const qint64 n = m_device->read(reinterpret_cast<char*>(into + done), size - done);
        if (n <= 0)
            m_failed = true;
        else
            done += n;
    }
    return done;
}
