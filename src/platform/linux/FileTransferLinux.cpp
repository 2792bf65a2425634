#include "platform/FileTransfer.h"

#include "platform/FileFaults.h"

#include <QFile>
#include <QFileDevice>
#include <QString>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <memory>
#include <vector>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::atomic<int64_t> g_kernelCopied { 0 };

// The path a descriptor was opened with, for the fault plan of the tests.
QString descriptorPath(int fd)
{
    char link[4096];
    const QByteArray proc = "/proc/self/fd/" + QByteArray::number(fd);
    const ssize_t n = ::readlink(proc.constData(), link, sizeof link);
    return n > 0 ? QFile::decodeName(QByteArray(link, int(n))) : QString();
}

int64_t writeAtDescriptor(int fd, int64_t pos, const void* data, int64_t size)
{
    if (fd < 0 || pos < 0 || size < 0)
        return -1;
    const std::shared_ptr<FileFaultPlan> plan = fileFaultPlan();
    const QString path = plan ? descriptorPath(fd) : QString();
    int64_t done = 0;
    while (done < size) {
        int64_t chunk = size - done;
        if (plan) {
            const FaultDecision d = plan->decide(path, FileOp::Write, pos + done, chunk);
            if (d.error) {
                errno = d.error;
                return -1;
            }
            if (d.allow >= 0)
                chunk = std::min(chunk, d.allow);
        }
        const ssize_t n = ::pwrite(fd, static_cast<const char*>(data) + done, size_t(chunk), off_t(pos + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return -1;
        done += n;
    }
    return done;
}

// A copy through a buffer, used instead of the kernel's copy while a fault plan is installed so that every
// byte meets the plan.
RangeCopy copyThroughFaults(int in, int64_t fromPos, int out, int64_t toPos, int64_t length)
{
    std::vector<char> buffer(size_t(std::min<int64_t>(length, 1 << 20)));
    for (int64_t done = 0; done < length;) {
        const int64_t n = std::min<int64_t>(length - done, int64_t(buffer.size()));
        if (readAtDescriptor(in, fromPos + done, buffer.data(), n) != n
            || writeAtDescriptor(out, toPos + done, buffer.data(), n) != n)
            return RangeCopy::Failed;
        done += n;
    }
    return RangeCopy::Done;
}

} // namespace

RangeCopy copyFileRange(QFileDevice& from, int64_t fromPos, QFileDevice& to, int64_t toPos, int64_t length)
{
    const int in = from.handle();
    const int out = to.handle();
    if (in < 0 || out < 0)
        return RangeCopy::Unsupported;
    if (fileFaultPlan()) {
        // Between two file systems the kernel refuses (none of ours copies across), and the caller copies
        // through its own buffer, where the plan meets it as it would in use.
        struct stat a {}, b {};
        if (::fstat(in, &a) != 0 || ::fstat(out, &b) != 0 || a.st_dev != b.st_dev)
            return RangeCopy::Unsupported;
        return copyThroughFaults(in, fromPos, out, toPos, length);
    }
    off64_t inPos = fromPos;
    off64_t outPos = toPos;
    bool copiedAny = false;
    while (length > 0) {
        const ssize_t n = ::copy_file_range(in, &inPos, out, &outPos, size_t(length), 0);
        if (n > 0) {
            length -= n;
            copiedAny = true;
            g_kernelCopied.fetch_add(n, std::memory_order_relaxed);
            continue;
        }
        if (n < 0 && errno == EINTR)
            continue;
        if (n == 0)
            return RangeCopy::Failed; // the source ended early
        if (!copiedAny && (errno == EXDEV || errno == EINVAL || errno == ENOSYS || errno == EOPNOTSUPP
                              || errno == EBADF || errno == ETXTBSY || errno == EPERM))
            return RangeCopy::Unsupported;
        return RangeCopy::Failed;
    }
    return RangeCopy::Done;
}

int64_t kernelCopiedBytes()
{
    return g_kernelCopied.load(std::memory_order_relaxed);
}

int64_t readAt(QFileDevice& file, int64_t pos, void* into, int64_t size)
{
    return readAtDescriptor(file.handle(), pos, into, size);
}

int64_t readAtDescriptor(int fd, int64_t pos, void* into, int64_t size)
{
    if (fd < 0 || pos < 0 || size < 0)
        return -1;
    const std::shared_ptr<FileFaultPlan> plan = fileFaultPlan();
    const QString path = plan ? descriptorPath(fd) : QString();
    int64_t done = 0;
    while (done < size) {
        int64_t chunk = size - done;
        if (plan) {
            const FaultDecision d = plan->decide(path, FileOp::Read, pos + done, chunk);
            if (d.error) {
                errno = d.error;
                return -1;
            }
            if (d.allow >= 0)
                chunk = std::min(chunk, d.allow);
        }
        const ssize_t n = ::pread(fd, static_cast<char*>(into) + done, size_t(chunk), off_t(pos + done));
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

int64_t writeAt(QFileDevice& file, int64_t pos, const void* data, int64_t size)
{
    return writeAtDescriptor(file.handle(), pos, data, size);
}

std::optional<FileIdentity> fileIdentity(QFileDevice& file)
{
    struct stat st {};
    if (file.handle() < 0 || ::fstat(file.handle(), &st) != 0)
        return std::nullopt;
    return FileIdentity { uint64_t(st.st_dev), uint64_t(st.st_ino) };
}

std::optional<FileIdentity> fileIdentity(const QString& path)
{
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return std::nullopt;
    return FileIdentity { uint64_t(st.st_dev), uint64_t(st.st_ino) };
}

bool syncFile(QFileDevice& file)
{
    // Whatever Qt still buffers must reach the descriptor before the descriptor is synced.
    if (file.isOpen() && file.isWritable() && !file.flush())
        return false;
    const int fd = file.handle();
    if (fd < 0)
        return false;
    if (const std::shared_ptr<FileFaultPlan> plan = fileFaultPlan()) {
        if (const FaultDecision d = plan->decide(descriptorPath(fd), FileOp::Sync, 0, 0); d.error) {
            errno = d.error;
            return false;
        }
    }
    while (::fsync(fd) != 0) {
        if (errno == EINTR)
            continue;
        return errno == EINVAL || errno == EROFS; // a special file that cannot be synced
    }
    return true;
}

void startWriteBack(QFileDevice& file, int64_t pos, int64_t length)
{
    if (file.handle() >= 0 && pos >= 0 && length >= 0)
        ::sync_file_range(file.handle(), off64_t(pos), off64_t(length), SYNC_FILE_RANGE_WRITE);
}

bool syncDirectory(const QString& path)
{
    if (const std::shared_ptr<FileFaultPlan> plan = fileFaultPlan()) {
        if (const FaultDecision d = plan->decide(path, FileOp::Sync, 0, 0); d.error) {
            errno = d.error;
            return false;
        }
    }
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno == EACCES; // a folder we may write into but not open: nothing more can be done
    bool ok = true;
    while (::fsync(fd) != 0) {
        if (errno == EINTR)
            continue;
        ok = errno == EINVAL || errno == EROFS || errno == ENOTSUP;
        break;
    }
    ::close(fd);
    return ok;
}

void adviseSequential(QFileDevice& file)
{
    if (file.handle() >= 0)
        ::posix_fadvise(file.handle(), 0, 0, POSIX_FADV_SEQUENTIAL);
}

void prefetch(QFileDevice& file, int64_t pos, int64_t length)
{
    if (file.handle() >= 0)
        ::posix_fadvise(file.handle(), pos, length, POSIX_FADV_WILLNEED);
}

} // namespace platform
