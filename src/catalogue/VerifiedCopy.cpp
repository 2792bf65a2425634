#include "catalogue/VerifiedCopy.h"

#include "platform/FileSafety.h"
#include "platform/FileTransfer.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

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
bool copyData(QFile& from, QFile& to, int64_t length, const VerifiedCopyOptions& options, bool& readFailed)
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
    }
    return true;
}

// Aligned blocks for the comparison, kept for the next copy: a job of many files would otherwise map and
// fault in fresh memory for every file (and every file's second worker).
class BlockPool
{
public:
    using Block = std::unique_ptr<char, void (*)(void*)>;

    static Block take(int64_t bytes)
    {
        {
            std::lock_guard<std::mutex> lock(mutex());
            std::vector<Block>& free = blocks();
            if (!free.empty()) {
                Block b = std::move(free.back());
                free.pop_back();
                return b;
            }
        }
        return Block(static_cast<char*>(std::aligned_alloc(4096, size_t(bytes))), &std::free);
    }

    static void give(Block block)
    {
        if (!block)
            return;
        std::lock_guard<std::mutex> lock(mutex());
        std::vector<Block>& free = blocks();
        if (free.size() < kKept)
            free.push_back(std::move(block));
    }

private:
    static constexpr size_t kKept = 4; // two workers, two blocks each
    static std::mutex& mutex()
    {
        static std::mutex m;
        return m;
    }
    static std::vector<Block>& blocks()
    {
        static std::vector<Block> b;
        return b;
    }
};

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

    ContentComparer() = default;
    ContentComparer(const ContentComparer&) = delete;
    ContentComparer& operator=(const ContentComparer&) = delete;
    ~ContentComparer()
    {
        BlockPool::give(std::move(m_source));
        BlockPool::give(std::move(m_copy));
    }

    // Compares [begin, end) of the two files.
    bool same(QFile& source, QFile& copy, int64_t begin, int64_t end, QString& error)
    {
        if (!buffers()) {
            error = QStringLiteral("no memory to compare the copy with");
            return false;
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

    // A block to copy through where the kernel cannot copy; null without memory.
    char* scratch() { return buffers() ? m_source.get() : nullptr; }

private:
    bool buffers()
    {
        if (!m_source)
            m_source = BlockPool::take(kBlock);
        if (!m_copy)
            m_copy = BlockPool::take(kBlock);
        return m_source && m_copy;
    }

    BlockPool::Block m_source { nullptr, &std::free };
    BlockPool::Block m_copy { nullptr, &std::free };
};

// The copy and its check, step by step: each step is copied (by the kernel where it can, else through a
// block of memory) and then compared with the source at once, while the step's pages are still in the
// processor's caches, which was measured cheaper than comparing the whole file after the copy. Two workers
// (the caller's thread and one helper) take the steps in turn, so one copies while the other compares and
// the check costs little more time than the copy itself; only one of them copies at a time. The caller's
// thread takes the first step and reports the progress: after a step is copied and before it is compared,
// so that a source that changes under the copy is still caught by the comparison.
class CheckedCopy : public std::enable_shared_from_this<CheckedCopy>
{
public:
    enum class Failure { None, SourceUnreadable, TargetFailed, Differs };

    CheckedCopy(
        QFile& from, QFile& to, int64_t length, int64_t step, const std::function<void(int64_t, int64_t)>& progress)
        : m_from(from)
        , m_to(to)
        , m_length(length)
        , m_step(step)
        , m_steps((length + step - 1) / step)
        , m_copied(size_t(m_steps), 0)
        , m_progress(progress)
    {
    }

    // Copies and checks everything; false with failure() and error() set on the first step (by position)
    // that failed.
    bool run()
    {
        if (m_steps == 0)
            return true;
        m_next = 1; // step 0 is the caller's
        // The helper comes from the application's thread pool, which keeps its threads for the next file: a
        // thread made and ended for every file costs more than a step. It holds this object until it has
        // finished; nothing else runs in that pool, so it starts at once, and a late start only means that
        // the caller's thread took more of the steps.
        const bool helped = m_steps > 1 && QThread::idealThreadCount() > 1;
        if (helped) {
            QThreadPool::globalInstance()->start([self = shared_from_this()] {
                self->work(false);
                self->m_helperDone = true;
                self->m_helperDone.notify_one();
            });
        }
        ContentComparer comparer;
        if (doStep(0, comparer, true))
            work(true, &comparer);
        if (helped)
            m_helperDone.wait(false);
        if (m_failure == Failure::None && m_progress && m_reported < m_length)
            m_progress(m_length, m_length);
        return m_failure == Failure::None;
    }

    Failure failure() const { return m_failure; }
    const QString& error() const { return m_error; }

private:
    void work(bool reporting, ContentComparer* comparer = nullptr)
    {
        ContentComparer own;
        ContentComparer& c = comparer ? *comparer : own;
        for (;;) {
            const int64_t index = m_next.fetch_add(1);
            if (index >= m_steps || m_stop.load() || !doStep(index, c, reporting))
                return;
        }
    }

    bool doStep(int64_t index, ContentComparer& comparer, bool reporting)
    {
        const int64_t pos = index * m_step;
        const int64_t n = std::min(m_step, m_length - pos);
        {
            // One writer at a time: two copies into one file wait for each other inside the kernel anyway,
            // spinning on the file's lock, which was measured to cost a tenth of the whole; here the one
            // waiting sleeps.
            std::unique_lock<std::mutex> lock(m_writeMutex, std::defer_lock);
            // The other worker hands the file over within a step's copy (a fraction of a millisecond): waiting
            // for it awake is cheaper than a sleep, whose wake-up was measured to cost about as long as a
            // step takes, so the two did not overlap.
            for (int spin = 0; spin < kWriterSpins && !lock.try_lock(); ++spin)
                std::this_thread::yield();
            if (!lock.owns_lock())
                lock.lock();
            if (m_stop.load() || !copyStep(pos, n, comparer, index))
                return false;
        }
        if (reporting)
            report(index);
        else
            markCopied(index);
        QString error;
        if (!comparer.same(m_from, m_to, pos, pos + n, error))
            return fail(index, Failure::Differs, error);
        return true;
    }

    bool copyStep(int64_t pos, int64_t n, ContentComparer& comparer, int64_t index)
    {
        if (m_kernel.load()) {
            switch (platform::copyFileRange(m_from, pos, m_to, pos, n)) {
            case platform::RangeCopy::Done:
                return true;
            case platform::RangeCopy::Failed:
                // The kernel's copy does not say which side failed: a card sector that cannot be read or a
                // disk that is full.
                return fail(index, Failure::TargetFailed, platform::lastErrorText());
            case platform::RangeCopy::Unsupported:
                m_kernel = false;
                break;
            }
        }
        char* const block = comparer.scratch();
        if (!block)
            return fail(index, Failure::TargetFailed, QStringLiteral("no memory to copy through"));
        for (int64_t done = 0; done < n;) {
            const int64_t piece = std::min(ContentComparer::kBlock, n - done);
            if (platform::readAt(m_from, pos + done, block, piece) != piece)
                return fail(index, Failure::SourceUnreadable, platform::lastErrorText());
            if (platform::writeAt(m_to, pos + done, block, piece) != piece)
                return fail(index, Failure::TargetFailed, platform::lastErrorText());
            done += piece;
        }
        return true;
    }

    void markCopied(int64_t index)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_copied[size_t(index)] = 1;
    }

    // Reports the bytes copied from the start without a gap, when that grew.
    void report(int64_t index)
    {
        int64_t upTo = 0;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_copied[size_t(index)] = 1;
            while (m_prefix < m_steps && m_copied[size_t(m_prefix)])
                ++m_prefix;
            upTo = std::min(m_prefix * m_step, m_length);
        }
        if (m_progress && upTo > m_reported) {
            m_reported = upTo;
            m_progress(upTo, m_length);
        }
    }

    // Keeps the failure of the earliest step; the other worker stops before its next step.
    bool fail(int64_t index, Failure failure, const QString& error)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stop = true;
        if (index < m_failedStep) {
            m_failedStep = index;
            m_failure = failure;
            m_error = error;
        }
        return false;
    }

    QFile& m_from;
    QFile& m_to;
    const int64_t m_length;
    const int64_t m_step;
    const int64_t m_steps;
    std::atomic<int64_t> m_next { 0 };
    std::atomic<bool> m_stop { false };
    std::atomic<bool> m_kernel { true };
    std::atomic<bool> m_helperDone { false };
    static constexpr int kWriterSpins = 4000;
    std::mutex m_writeMutex;
    std::mutex m_mutex;
    std::vector<char> m_copied; // per step, under m_mutex
    int64_t m_prefix = 0; // steps copied from the start without a gap, under m_mutex
    int64_t m_failedStep = INT64_MAX; // under m_mutex, like the two below
    Failure m_failure = Failure::None;
    QString m_error;
    const std::function<void(int64_t, int64_t)>& m_progress;
    int64_t m_reported = 0; // caller's thread only
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

    if (!options.durable) {
        // Each step is checked right after it was copied, from the page cache.
        const auto copy = std::make_shared<CheckedCopy>(from, part, length, copyStep(options), options.progress);
        if (!copy->run()) {
            switch (copy->failure()) {
            case CheckedCopy::Failure::SourceUnreadable:
                return failure(VerifiedCopyResult::SourceUnreadable,
                    QStringLiteral("%1 could not be read to its end").arg(source));
            case CheckedCopy::Failure::Differs:
                return failure(VerifiedCopyResult::VerifyFailed, QStringLiteral("%1: %2").arg(source, copy->error()));
            case CheckedCopy::Failure::TargetFailed:
            case CheckedCopy::Failure::None:
                break;
            }
            return failure(VerifiedCopyResult::TargetFailed,
                QStringLiteral("%1 could not be copied to %2 (%3)").arg(source, target, copy->error()));
        }
        // Every step matched; a source that grew or shrank meanwhile, or a copy of another size, did not.
        if (QFileInfo(source).size() != length || part.size() != length)
            return failure(
                VerifiedCopyResult::VerifyFailed, QStringLiteral("%1 and its copy differ in size").arg(source));
    } else {
        // The copy is synced to the device and dropped from memory, so the check reads it back from there.
        bool readFailed = false;
        if (!copyData(from, part, length, options, readFailed)) {
            if (readFailed)
                return failure(VerifiedCopyResult::SourceUnreadable,
                    QStringLiteral("%1 could not be read to its end").arg(source));
            // The kernel's copy does not say which side failed: a card sector that cannot be read or a disk
            // that is full.
            return failure(VerifiedCopyResult::TargetFailed,
                QStringLiteral("%1 could not be copied to %2 (%3)").arg(source, target, platform::lastErrorText()));
        }
        if (!platform::syncFile(part))
            return failure(
                VerifiedCopyResult::TargetFailed, QStringLiteral("%1 could not be written to the disk").arg(target));
        platform::dropCachedPages(part);
        // Size first: a source that changed or a copy that came out short is caught without reading anything.
        if (QFileInfo(source).size() != length || part.size() != length)
            return failure(
                VerifiedCopyResult::VerifyFailed, QStringLiteral("%1 and its copy differ in size").arg(source));
        QString compareError;
        if (!ContentComparer().same(from, part, 0, length, compareError))
            return failure(VerifiedCopyResult::VerifyFailed, QStringLiteral("%1: %2").arg(source, compareError));
    }

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
