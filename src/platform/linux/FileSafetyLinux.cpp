#include "platform/FileSafety.h"

#include <QFile>
#include <QFileDevice>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace platform {

int64_t availableSpace(const QString& path)
{
    struct statvfs info {};
    if (::statvfs(QFile::encodeName(path).constData(), &info) != 0)
        return -1;
    return int64_t(info.f_bavail) * int64_t(info.f_frsize);
}

bool sameFileSystem(const QString& a, const QString& b)
{
    struct stat sa {};
    struct stat sb {};
    if (::stat(QFile::encodeName(a).constData(), &sa) != 0 || ::stat(QFile::encodeName(b).constData(), &sb) != 0)
        return false;
    return sa.st_dev == sb.st_dev;
}

void dropCachedPages(QFileDevice& file)
{
    if (file.handle() >= 0)
        ::posix_fadvise(file.handle(), 0, 0, POSIX_FADV_DONTNEED);
}

RenameResult renameFile(const QString& from, const QString& to, bool replace)
{
    const QByteArray src = QFile::encodeName(from);
    const QByteArray dst = QFile::encodeName(to);
    int rc = 0;
    if (replace) {
        rc = ::rename(src.constData(), dst.constData());
    } else {
        rc = ::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE);
        if (rc != 0 && (errno == EINVAL || errno == ENOSYS)) {
            // A file system without the no-replace rename (FAT on older kernels): a hard link fails on an
            // existing name, and where links are impossible too, an existence check must do.
            if (::link(src.constData(), dst.constData()) == 0) {
                ::unlink(src.constData());
                return RenameResult::Done;
            }
            if (errno == EEXIST)
                return RenameResult::TargetExists;
            if (errno == EXDEV)
                return RenameResult::CrossDevice;
            struct stat st {};
            if (::lstat(dst.constData(), &st) == 0)
                return RenameResult::TargetExists;
            rc = ::rename(src.constData(), dst.constData());
        }
    }
    if (rc == 0)
        return RenameResult::Done;
    if (errno == EEXIST)
        return RenameResult::TargetExists;
    if (errno == EXDEV)
        return RenameResult::CrossDevice;
    return RenameResult::Failed;
}

QString lastErrorText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

} // namespace platform
