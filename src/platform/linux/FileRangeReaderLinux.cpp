#include "platform/FileRangeReader.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

FileRangeReader::FileRangeReader(const QString& path)
{
    m_handle = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
}

FileRangeReader::~FileRangeReader()
{
    if (m_handle >= 0)
        ::close(m_handle);
}

int64_t FileRangeReader::readUpTo(int64_t offset, void* out, int64_t count)
{
    if (m_handle < 0 || offset < 0 || count < 0)
        return -1;
    auto* bytes = static_cast<char*>(out);
    int64_t done = 0;
    while (done < count) {
        const ssize_t n
            = ::pread(m_handle, bytes + done, static_cast<size_t>(count - done), static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += n;
    }
    return done;
}

bool FileRangeReader::readAt(int64_t offset, void* out, int64_t count)
{
    return readUpTo(offset, out, count) == count;
}
