#include "catalogue/VerifiedCopy.h"

#include "platform/FileSafety.h"
#include "platform/FileTransfer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

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

int64_t copyStep(const VerifiedCopyOptions& options)
{
    return options.chunkBytes > 0 ? options.chunkBytes : VerifiedCopyOptions().chunkBytes;
}

// Copies `length` bytes from the start of `from` into `to`: by the kernel where it can, else through a buffer.
bool copyData(QFile& from, QFile& to, int64_t length, const VerifiedCopyOptions& options, bool& readFailed,
    const std::function<void(int64_t)>& onCopied)
{
    readFailed = false;
    const int64_t step = copyStep(options);
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
        if (onCopied)
            onCopied(done);
    }
    return true;
}

// Compares a copy with its source byte for byte through two reused buffers. Both files are read with
// positioned reads, which the kernel serves from the page cache through its own mapping of memory; comparing
// in place through mappings of the two files instead costs a page-table walk for every 4 KiB page touched,
// and in a virtual machine whose memory the host keeps in small pages that walk made the comparison cost four
// to six times the copy itself. A read also fails with an error where a mapping of a failing card would end
// the process.
class ContentComparer
{
public:
    // Two blocks stay in the processor's second-level cache between the reads and the comparison.
    static constexpr int64_t kBlock = 256 * 1024;

    // Compares [begin, end) of the two files.
    bool same(QFile& source, QFile& copy, int64_t begin, int64_t end, QString& error)
    {
        if (!m_source) {
            m_source.reset(static_cast<char*>(std::aligned_alloc(4096, size_t(kBlock))));
            m_copy.reset(static_cast<char*>(std::aligned_alloc(4096, size_t(kBlock))));
            if (!m_source || !m_copy) {
                error = QStringLiteral("no memory to compare the copy with");
                return false;
            }
        }
        for (int64_t pos = begin; pos < end; pos += kBlock) {
            const int64_t n = std::min(kBlock, end - pos);
            if (platform::readAt(source, pos, m_source.get(), n) != n) {
                error = QStringLiteral("the source could not be read again at byte %1").arg(pos);
                return false;
            }
            if (platform::readAt(copy, pos, m_copy.get(), n) != n) {
                error = QStringLiteral("the copy could not be read back at byte %1").arg(pos);
                return false;
            }
            if (std::memcmp(m_source.get(), m_copy.get(), size_t(n)) != 0) {
                error = QStringLiteral("the copy differs from the source near byte %1").arg(pos);
                return false;
            }
        }
        return true;
    }

private:
    struct Free
    {
        void operator()(char* p) const { std::free(p); }
    };
    std::unique_ptr<char, Free> m_source;
    std::unique_ptr<char, Free> m_copy;
};

// Compares what the kernel has copied so far on a second thread while the copy goes on, so that checking
// every byte costs little more time than the copy itself. It opens both files on its own handles and shares
// nothing with the copying thread but the copied length.
class ParallelVerifier
{
public:
    ParallelVerifier(const QString& source, const QString& copy)
        : m_source(source)
        , m_copy(copy)
    {
    }
    ~ParallelVerifier() { stop(); }

    bool start()
    {
        if (!m_source.open(QIODevice::ReadOnly) || !m_copy.open(QIODevice::ReadOnly))
            return false;
        m_thread = std::thread([this] { run(); });
        return true;
    }

    void copiedUpTo(int64_t end)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_ready = end;
        }
        m_wake.notify_one();
    }

    // Waits until everything up to `length` was compared; false with the reason when a byte differs or a
    // file could not be read.
    bool finish(int64_t length, QString& error)
    {
        copiedUpTo(length);
        stop();
        if (!m_failed && m_checked != length)
            m_error = QStringLiteral("the copy was not checked to its end");
        error = m_error;
        return m_error.isEmpty();
    }

private:
    void stop()
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_end = true;
        }
        m_wake.notify_one();
        if (m_thread.joinable())
            m_thread.join();
    }

    void run()
    {
        for (;;) {
            int64_t upTo = 0;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                m_wake.wait(lock, [this] { return m_end || m_ready > m_checked; });
                if (m_ready <= m_checked)
                    return;
                upTo = m_ready;
            }
            QString error;
            if (!m_comparer.same(m_source, m_copy, m_checked, upTo, error)) {
                m_failed = true;
                m_error = error;
                return;
            }
            m_checked = upTo;
        }
    }

    QFile m_source;
    QFile m_copy;
    ContentComparer m_comparer;
    std::thread m_thread;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    int64_t m_ready = 0;
    bool m_end = false;
    // Written by the verifier thread, read after it was joined.
    int64_t m_checked = 0;
    bool m_failed = false;
    QString m_error;
};

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

    // Without the sync to the device, whose pages the check must read back from the device afterwards, the
    // check runs beside the copy.
    const int64_t step = copyStep(options);
    std::unique_ptr<ParallelVerifier> verifier;
    if (!options.durable && length > step) {
        verifier = std::make_unique<ParallelVerifier>(source, partName);
        if (!verifier->start())
            verifier.reset();
    }
    std::function<void(int64_t)> onCopied;
    if (verifier)
        onCopied = [&verifier](int64_t done) { verifier->copiedUpTo(done); };

    bool readFailed = false;
    if (!copyData(from, part, length, options, readFailed, onCopied)) {
        if (readFailed)
            return failure(VerifiedCopyResult::SourceUnreadable,
                QStringLiteral("%1 could not be read to its end").arg(source));
        // The kernel's copy does not say which side failed: a card sector that cannot be read or a disk
        // that is full.
        return failure(VerifiedCopyResult::TargetFailed,
            QStringLiteral("%1 could not be copied to %2 (%3)").arg(source, target, platform::lastErrorText()));
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
    const bool same
        = verifier ? verifier->finish(length, compareError) : ContentComparer().same(from, part, 0, length, compareError);
    if (!same)
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
    if (options.durable && !platform::syncDirectory(targetInfo.absolutePath())) {
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
        platform::syncDirectory(fromInfo.absolutePath());
        platform::syncDirectory(QFileInfo(target).absolutePath());
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
    platform::syncDirectory(fromInfo.absolutePath());
    result.ok = true;
    return result;
}
