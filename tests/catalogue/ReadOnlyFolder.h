#pragma once

#include <QFile>
#include <QString>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

// Makes a folder refuse new and removed entries for this process, root included (tests run as root in CI):
// the immutable attribute where the process may set it, else the permission bits. ok() is false when
// neither works on this file system; the test then skips. The folder is writable again afterwards.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString& path)
        : m_path(QFile::encodeName(path))
    {
        const int fd = ::open(m_path.constData(), O_RDONLY | O_DIRECTORY);
        if (fd >= 0) {
            int flags = 0;
            if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                const int immutable = flags | FS_IMMUTABLE_FL;
                if (::ioctl(fd, FS_IOC_SETFLAGS, &immutable) == 0)
                    m_immutable = true;
            }
            ::close(fd);
        }
        if (!m_immutable)
            m_chmod = ::chmod(m_path.constData(), 0555) == 0;
        // Whichever was used, it must really stop a new entry.
        const QByteArray probe = m_path + "/.probe";
        const int p = ::open(probe.constData(), O_CREAT | O_WRONLY, 0644);
        if (p >= 0) {
            ::close(p);
            ::unlink(probe.constData());
            restore();
        }
    }
    ~ReadOnlyFolder() { restore(); }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    bool ok() const { return m_immutable || m_chmod; }

    void restore()
    {
        if (m_immutable) {
            const int fd = ::open(m_path.constData(), O_RDONLY | O_DIRECTORY);
            if (fd >= 0) {
                int flags = 0;
                if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                    flags &= ~FS_IMMUTABLE_FL;
                    ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
                }
                ::close(fd);
            }
            m_immutable = false;
        }
        if (m_chmod) {
            ::chmod(m_path.constData(), 0755);
            m_chmod = false;
        }
    }

private:
    QByteArray m_path;
    bool m_immutable = false;
    bool m_chmod = false;
};
