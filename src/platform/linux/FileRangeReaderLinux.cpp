#include "platform/FileRangeReader.h"

#include "platform/FileTransfer.h"

#include <QFile>

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
    return platform::readAtDescriptor(m_handle, offset, out, count);
}

bool FileRangeReader::readAt(int64_t offset, void* out, int64_t count)
{
    return readUpTo(offset, out, count) == count;
}
