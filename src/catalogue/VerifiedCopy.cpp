#include "catalogue/VerifiedCopy.h"

#include "platform/FileSafety.h"
#include "platform/FileTransfer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <cstring>
#include <memory>

namespace {

constexpr int64_t kCompareWindow = 64 * 1024 * 1024;

// A name beside the target that no listing of recordings shows and no other copy uses.
QString hiddenPartName(const QString& target)
{
    static std::atomic<int> counter { 0 };
    const QFileInfo info(target);
    return info.absolutePath() + QStringLiteral("/.") + info.fileName()
        + QStringLiteral(".%1-%2.part").arg(QCoreApplication::applicationPid()).arg(counter.fetch_add(1));
}

VerifiedCopyResult failure(VerifiedCopyResult::Status status, const QString& error)
{
    VerifiedCopyResult result;
    result.status = status;
    result.error = error;
    return result;
}

// Copies `length` bytes from the start of `from` into `to`: by the kernel where it can, else through a buffer.
bool copyData(QFile& from, QFile& to, int64_t length, const VerifiedCopyOptions& options, bool& readFailed)
{
    readFailed = false;
    const int64_t step = options.chunkBytes > 0 ? options.chunkBytes : int64_t(8) * 1024 * 1024;
    bool kernel = true;
    std::unique_ptr<char[]> buffer;
    int64_t done = 0;
    while (done < length) {
        const int64_t n = std::min(step, length - done);
        if (kernel) {
            const platform::RangeCopy r = platform::copyFileRange(from, done, to, done, n);
            if (r == platform::RangeCopy::Failed)
                return false;
            if (r == platform::RangeCopy::Unsupported)
                kernel = false;
        }
        if (!kernel) {
            if (!buffer)
                buffer.reset(new char[size_t(step)]);
            const int64_t got = platform::readAt(from, done, buffer.get(), n);
            if (got != n) {
                readFailed = true;
                return false;
            }
            if (platform::writeAt(to, done, buffer.get(), n) != n)
                return false;
        }
        done += n;
        if (options.progress)
            options.progress(done, length);
    }
    return true;
}

// Compares `n` bytes at `pos` through two buffers.
bool sameRange(QFile& a, QFile& b, int64_t pos, int64_t n, QString& error)
{
    constexpr int64_t kBlock = 4 * 1024 * 1024;
    std::unique_ptr<char[]> bufA(new char[size_t(kBlock)]);
    std::unique_ptr<char[]> bufB(new char[size_t(kBlock)]);
    for (const int64_t end = pos + n; pos < end; pos += kBlock) {
        const int64_t m = std::min(kBlock, end - pos);
        if (platform::readAt(a, pos, bufA.get(), m) != m) {
            error = QStringLiteral("the source could not be read again at byte %1").arg(pos);
            return false;
        }
        if (platform::readAt(b, pos, bufB.get(), m) != m) {
            error = QStringLiteral("the copy could not be read back at byte %1").arg(pos);
            return false;
        }
        if (std::memcmp(bufA.get(), bufB.get(), size_t(m)) != 0) {
            error = QStringLiteral("the copy differs from the source near byte %1").arg(pos);
            return false;
        }
    }
    return true;
}

// Compares the copy with the source byte for byte; both must hold exactly `length` bytes. The source is read
// with positioned reads, so that a card that fails or is pulled during the check gives a read error and not a
// fault that ends the viewer; the copy, on the computer's own disk, is mapped window by window and compared in
// place, which saves copying it through a second buffer.
bool sameContent(QFile& source, QFile& copy, int64_t length, QString& error)
{
    constexpr int64_t kBlock = 4 * 1024 * 1024;
    std::unique_ptr<char[]> buffer;
    for (int64_t window = 0; window < length; window += kCompareWindow) {
        const int64_t n = std::min(kCompareWindow, length - window);
        uchar* mapped = copy.map(window, n);
        if (!mapped) {
            if (!sameRange(source, copy, window, n, error))
                return false;
            continue;
        }
        if (!buffer)
            buffer.reset(new char[size_t(kBlock)]);
        bool same = true;
        for (int64_t pos = 0; pos < n && same; pos += kBlock) {
            const int64_t m = std::min(kBlock, n - pos);
            if (platform::readAt(source, window + pos, buffer.get(), m) != m) {
                copy.unmap(mapped);
                error = QStringLiteral("the source could not be read again at byte %1").arg(window + pos);
                return false;
            }
            same = std::memcmp(buffer.get(), mapped + pos, size_t(m)) == 0;
            if (!same)
                error = QStringLiteral("the copy differs from the source near byte %1").arg(window + pos);
        }
        copy.unmap(mapped);
        if (!same)
            return false;
    }
    return true;
}

} // namespace

VerifiedCopyResult CopyFileVerified(const QString& source, const QString& target, const VerifiedCopyOptions& options)
{
    QFile from(source);
    if (!from.open(QIODevice::ReadOnly))
        return failure(VerifiedCopyResult::SourceUnreadable,
            QStringLiteral("%1 cannot be opened: %2").arg(source, from.errorString()));
    const QFileInfo sourceInfo(source);
    if (!sourceInfo.isFile())
        return failure(VerifiedCopyResult::SourceUnreadable, QStringLiteral("%1 is not a file").arg(source));
    const int64_t length = from.size();
    platform::adviseSequential(from);

    const QFileInfo targetInfo(target);
    if (!options.replaceExisting && targetInfo.exists())
        return failure(VerifiedCopyResult::TargetExists, QStringLiteral("%1 already exists").arg(target));
    if (!QDir().mkpath(targetInfo.absolutePath()))
        return failure(VerifiedCopyResult::TargetFailed,
            QStringLiteral("the folder %1 cannot be created").arg(targetInfo.absolutePath()));

    const QString partName = hiddenPartName(target);
    QFile part(partName);
    if (!part.open(QIODevice::ReadWrite | QIODevice::NewOnly))
        return failure(VerifiedCopyResult::TargetFailed,
            QStringLiteral("%1 cannot be created: %2").arg(target, part.errorString()));
    // Whatever goes wrong from here on, the half-made copy goes.
    struct PartGuard
    {
        QFile& file;
        bool keep = false;
        ~PartGuard()
        {
            if (!keep) {
                file.close();
                QFile::remove(file.fileName());
            }
        }
    } guard { part };

    bool readFailed = false;
    if (!copyData(from, part, length, options, readFailed)) {
        if (readFailed)
            return failure(VerifiedCopyResult::SourceUnreadable,
                QStringLiteral("%1 could not be read to its end").arg(source));
        return failure(VerifiedCopyResult::TargetFailed,
            QStringLiteral("%1 could not be written (%2)").arg(target, platform::lastErrorText()));
    }
    if (options.durable) {
        if (!platform::syncFile(part))
            return failure(VerifiedCopyResult::TargetFailed,
                QStringLiteral("%1 could not be written to the disk").arg(target));
        platform::dropCachedPages(part);
    }

    // Size first: a source that changed or a copy that came out short is caught without reading anything.
    if (QFileInfo(source).size() != length || part.size() != length)
        return failure(VerifiedCopyResult::VerifyFailed,
            QStringLiteral("%1 and its copy differ in size").arg(source));
    QString compareError;
    if (!sameContent(from, part, length, compareError))
        return failure(VerifiedCopyResult::VerifyFailed, QStringLiteral("%1: %2").arg(source, compareError));

    part.setFileTime(sourceInfo.lastModified(), QFileDevice::FileModificationTime);
    part.close();
    const platform::RenameResult renamed = platform::renameFile(partName, target, options.replaceExisting);
    if (renamed == platform::RenameResult::TargetExists)
        return failure(VerifiedCopyResult::TargetExists, QStringLiteral("%1 already exists").arg(target));
    if (renamed != platform::RenameResult::Done)
        return failure(VerifiedCopyResult::TargetFailed,
            QStringLiteral("%1 could not be given its name (%2)").arg(target, platform::lastErrorText()));
    guard.keep = true;
    if (options.durable && !platform::syncFolder(targetInfo.absolutePath())) {
        VerifiedCopyResult result = failure(VerifiedCopyResult::TargetFailed,
            QStringLiteral("the folder of %1 could not be written to the disk").arg(target));
        QFile::remove(target);
        return result;
    }
    VerifiedCopyResult result;
    result.status = VerifiedCopyResult::Copied;
    result.bytes = length;
    return result;
}

MoveResult MoveFileSafely(const QString& from, const QString& target)
{
    MoveResult result;
    const QFileInfo fromInfo(from);
    if (!fromInfo.isFile()) {
        result.error = QStringLiteral("%1 does not exist").arg(from);
        return result;
    }
    if (QFileInfo::exists(target)) {
        result.error = QStringLiteral("%1 already exists").arg(target);
        return result;
    }
    switch (platform::renameFile(from, target, false)) {
    case platform::RenameResult::Done:
        platform::syncFolder(fromInfo.absolutePath());
        platform::syncFolder(QFileInfo(target).absolutePath());
        result.ok = true;
        return result;
    case platform::RenameResult::TargetExists:
        result.error = QStringLiteral("%1 already exists").arg(target);
        return result;
    case platform::RenameResult::Failed:
        result.error = QStringLiteral("%1 could not be moved (%2)").arg(from, platform::lastErrorText());
        return result;
    case platform::RenameResult::CrossDevice:
        break;
    }

    VerifiedCopyOptions options;
    options.replaceExisting = false;
    options.durable = true;
    const VerifiedCopyResult copy = CopyFileVerified(from, target, options);
    if (!copy.ok()) {
        result.error = copy.error;
        return result;
    }
    result.copied = true;
    if (!QFile::remove(from)) {
        // Two copies would leave the user guessing which one counts: the move did not happen.
        QFile::remove(target);
        result.error = QStringLiteral("%1 could not be removed after copying it").arg(from);
        return result;
    }
    platform::syncFolder(fromInfo.absolutePath());
    result.ok = true;
    return result;
}
