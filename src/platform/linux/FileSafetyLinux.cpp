#include "platform/FileSafety.h"

#include "platform/FileFaults.h"

#include <QFile>
#include <QFileDevice>

#include <cerrno>
#include <memory>
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

namespace {

// The fault plan of the tests may fail a sync.
bool syncFaulted(const QString& path)
{
    if (const std::shared_ptr<FileFaultPlan> plan = fileFaultPlan()) {
        if (const FaultDecision d = plan->decide(path, FileOp::Sync, 0, 0); d.error) {
            errno = d.error;
            return true;
        }
    }
    return false;
}

} // namespace

bool syncFile(QFileDevice& file)
{
    if (!file.flush())
        return false;
    const int fd = file.handle();
    if (fd < 0)
        return false;
    if (syncFaulted(file.fileName()))
        return false;
    while (::fsync(fd) != 0) {
        if (errno != EINTR)
            return false;
    }
    return true;
}

bool syncFolder(const QString& folder)
{
    if (syncFaulted(folder))
        return false;
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    int rc = 0;
    while ((rc = ::fsync(fd)) != 0 && errno == EINTR) { }
    // Some file systems cannot sync a folder at all; their entries are as durable as they get.
    const bool ok = rc == 0 || errno == EINVAL || errno == EROFS;
    ::close(fd);
    return ok;
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
