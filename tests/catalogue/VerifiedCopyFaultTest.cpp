// The verified copy with faults put under the file layer: read errors on the card (while copying, and only
// when the comparison reads the source again), a copy that cannot be read back, a full or failing target
// disk, short transfers, a card pulled mid-way, a failing sync. Every row proves: each of its faults really met
// a call, the source is never changed, nothing partial stays under the target's name (an older copy there
// stays), no hidden part file is left, and the result says failed exactly when the copy failed. The kernel's
// own copy, which the fault layer cannot reach, meets a real full file system: a small tmpfs. The same rows run
// once more with the card on another file system, where the copy goes through the copier's own buffer.
#include "catalogue/VerifiedCopy.h"
#include "platform/FileFaults.h"

#include "platform/FileSafety.h"
#include "platform/FileTransfer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <functional>
#include <memory>
#include <sys/mount.h>

using platform::FileFaultRules;
using platform::FileOp;

namespace {

constexpr qint64 kSize = 3 * 1024 * 1024 + 123;
const QByteArray kEarlier("an older copy of the recording");

QByteArray recording()
{
    QByteArray b(kSize, '\0');
    for (qint64 i = 0; i < kSize; ++i)
        b[i] = char((i * 131) >> 3);
    return b;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool writeAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

struct CopyFaultRow
{
    const char* what;
    std::function<void(FileFaultRules&)> faults;
    bool durable;
    bool ok;
    bool sourceStays = true; // false when the fault itself removes the source (its card was pulled)
};

class CopyFault : public ::testing::TestWithParam<CopyFaultRow>
{
protected:
    void TearDown() override { platform::setFileFaultPlan(nullptr); }
};

// Copies the recording from `cardFolder` to `outFolder` under the row's faults and checks every promise.
void expectEveryPromiseKept(const CopyFaultRow& row, const QString& cardFolder, const QString& outFolder)
{
    static const QByteArray bytes = recording();
    ASSERT_TRUE(QDir().mkpath(cardFolder) && QDir().mkpath(outFolder));
    const QString source = cardFolder + QStringLiteral("/rec_20240101_120000.avi");
    const QString target = outFolder + QStringLiteral("/rec_20240101_120000.avi");
    ASSERT_TRUE(writeAll(source, bytes));
    ASSERT_TRUE(writeAll(target, kEarlier));

    auto rules = std::make_shared<FileFaultRules>();
    row.faults(*rules);
    platform::setFileFaultPlan(rules);
    VerifiedCopyOptions options;
    options.durable = row.durable;
    options.chunkBytes = 1024 * 1024;
    const VerifiedCopyResult r = CopyFileVerified(source, target, options);
    platform::setFileFaultPlan(nullptr);

    EXPECT_EQ(r.ok(), row.ok) << row.what << ": " << r.error.toStdString();
    EXPECT_EQ(r.error.isEmpty(), r.ok()) << row.what;
    if (row.sourceStays) {
        EXPECT_TRUE(readAll(source) == bytes) << row.what << ": the source changed";
    }
    if (r.ok()) {
        EXPECT_TRUE(readAll(target) == bytes) << row.what << ": the copy is not the recording";
    } else {
        EXPECT_EQ(readAll(target), kEarlier) << row.what << ": the older copy was lost";
    }
    EXPECT_EQ(QDir(outFolder).entryList(QDir::Files | QDir::Hidden),
        QStringList { QStringLiteral("rec_20240101_120000.avi") })
        << row.what << ": a part file stayed";
    for (size_t i = 0; i < rules->ruleCount(); ++i)
        EXPECT_GT(rules->hits(i), 0) << row.what << ": fault " << i << " never met a call, so the row proves nothing";
}

TEST_P(CopyFault, KeepsEveryPromise)
{
    QTemporaryDir dir;
    expectEveryPromiseKept(GetParam(), dir.filePath(QStringLiteral("card")), dir.filePath(QStringLiteral("out")));
}

// The same rows with the card on another file system (a tmpfs): the kernel does not copy between the two, so
// the copy goes through the copier's own buffer, and every fault meets that path.
class CopyFaultAcrossFileSystems : public CopyFault
{
};

TEST_P(CopyFaultAcrossFileSystems, KeepsEveryPromise)
{
    QTemporaryDir dir;
    QTemporaryDir card(QStringLiteral("/dev/shm/korvane-card-XXXXXX"));
    if (!card.isValid() || platform::sameFileSystem(card.path(), dir.path()))
        GTEST_SKIP() << "no tmpfs at /dev/shm beside the temporary folder's file system";
    const int64_t kernelBefore = platform::kernelCopiedBytes();
    expectEveryPromiseKept(GetParam(), card.filePath(QStringLiteral("card")), dir.filePath(QStringLiteral("out")));
    EXPECT_EQ(platform::kernelCopiedBytes(), kernelBefore)
        << GetParam().what << ": the kernel copied across file systems";
}

const CopyFaultRow kRows[] = {
    { "no fault", [](FileFaultRules&) {}, false, true },
    { "no fault, durable", [](FileFaultRules&) {}, true, true },
    { "source: a sector that never reads",
        [](FileFaultRules& r) { r.failReadsAt("/card/", 2 * 1024 * 1024 + 5, 10, EIO); }, false, false },
    { "source: short reads", [](FileFaultRules& r) { r.shortTransfers("/card/", FileOp::Read, 4097); }, true, true },
    { "source: card pulled mid-way", [](FileFaultRules& r) { r.vanishAfter("/card/", 1500000); }, false, false,
        false },
    { "target: disk full at once", [](FileFaultRules& r) { r.failWritesAfter("/out/", 0, ENOSPC); }, false, false },
    { "target: disk full mid-way", [](FileFaultRules& r) { r.failWritesAfter("/out/", 2000000, ENOSPC); }, false,
        false },
    { "target: disk full one byte short", [](FileFaultRules& r) { r.failWritesAfter("/out/", kSize - 1, ENOSPC); },
        true, false },
    { "target: I/O error mid-way", [](FileFaultRules& r) { r.failWritesAfter("/out/", 2000000, EIO); }, false,
        false },
    { "target: short writes", [](FileFaultRules& r) { r.shortTransfers("/out/", FileOp::Write, 1000); }, false,
        true },
    { "target: the sync fails", [](FileFaultRules& r) { r.failSyncs("/out/", EIO); }, true, false },
    { "target: card pulled mid-way", [](FileFaultRules& r) { r.vanishAfter("/out/", 1500000); }, true, false },
    { "source: a sector that reads for the copy, then fails when compared",
        [](FileFaultRules& r) { r.failReadsAt("/card/", 2 * 1024 * 1024 + 5, 10, EIO, -1, 1); }, false, false },
    { "source: a sector that reads for the copy, then fails when compared, durable",
        [](FileFaultRules& r) { r.failReadsAt("/card/", 2 * 1024 * 1024 + 5, 10, EIO, -1, 1); }, true, false },
    { "target: the copy cannot be read back",
        [](FileFaultRules& r) { r.failReadsAt("/out/", 1024 * 1024 + 7, 10, EIO); }, false, false },
    { "target: the copy cannot be read back, durable",
        [](FileFaultRules& r) { r.failReadsAt("/out/", 1024 * 1024 + 7, 10, EIO); }, true, false },
    { "both: short reads while comparing",
        [](FileFaultRules& r) { r.shortTransfers("/out/", FileOp::Read, 65536).shortTransfers("/card/", FileOp::Read, 9999); },
        false, true },
};

INSTANTIATE_TEST_SUITE_P(Table, CopyFault, ::testing::ValuesIn(kRows),
    [](const auto& info) { return "row" + std::to_string(info.index); });
INSTANTIATE_TEST_SUITE_P(Table, CopyFaultAcrossFileSystems, ::testing::ValuesIn(kRows),
    [](const auto& info) { return "row" + std::to_string(info.index); });

// The kernel's copy on a file system that is really this small: both files on one tmpfs, so the kernel copies
// between them itself. Mounting needs root (or CAP_SYS_ADMIN); elsewhere the test says why it is skipped.
class KernelCopyOnSmallFileSystem : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString mountPoint;
    bool mounted = false;

    void mountTmpfs(const char* size)
    {
        mountPoint = dir.filePath(QStringLiteral("small"));
        ASSERT_TRUE(QDir().mkpath(mountPoint));
        const QByteArray options = QByteArray("size=") + size;
        if (::mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, options.constData()) != 0)
            GTEST_SKIP() << "a small tmpfs cannot be mounted here (" << std::strerror(errno)
                         << "): the kernel copy's full-disk case needs root";
        mounted = true;
        ASSERT_TRUE(QDir(mountPoint).mkpath(QStringLiteral("card")) && QDir(mountPoint).mkpath(QStringLiteral("out")));
    }
    void TearDown() override
    {
        if (mounted)
            ::umount2(QFile::encodeName(mountPoint).constData(), MNT_DETACH);
    }
    QString at(const char* relative) const { return mountPoint + QLatin1Char('/') + QLatin1String(relative); }
};

TEST_F(KernelCopyOnSmallFileSystem, ACopyThatFitsIsCopiedByTheKernelAndChecked)
{
    mountTmpfs("16m");
    if (IsSkipped())
        return;
    static const QByteArray bytes = recording();
    ASSERT_TRUE(writeAll(at("card/rec_20240101_120000.avi"), bytes));
    const int64_t before = platform::kernelCopiedBytes();
    const VerifiedCopyResult r = CopyFileVerified(at("card/rec_20240101_120000.avi"), at("out/rec_20240101_120000.avi"));
    EXPECT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(platform::kernelCopiedBytes() - before, kSize) << "every byte went through the kernel's copy";
    EXPECT_TRUE(readAll(at("out/rec_20240101_120000.avi")) == bytes);
}

TEST_F(KernelCopyOnSmallFileSystem, AFullFileSystemFailsTheKernelCopyAndKeepsTheOlderCopy)
{
    mountTmpfs("5m"); // the recording fits, a second one does not
    if (IsSkipped())
        return;
    static const QByteArray bytes = recording();
    const QString source = at("card/rec_20240101_120000.avi");
    const QString target = at("out/rec_20240101_120000.avi");
    ASSERT_TRUE(writeAll(source, bytes));
    ASSERT_TRUE(writeAll(target, kEarlier));
    const int64_t before = platform::kernelCopiedBytes();
    for (const bool durable : { false, true }) {
        VerifiedCopyOptions options;
        options.durable = durable;
        const VerifiedCopyResult r = CopyFileVerified(source, target, options);
        EXPECT_FALSE(r.ok()) << "durable " << durable;
        EXPECT_EQ(r.status, VerifiedCopyResult::TargetFailed) << "durable " << durable << ": " << r.error.toStdString();
        EXPECT_TRUE(r.error.contains(QStringLiteral("No space left"))) << r.error.toStdString();
        EXPECT_EQ(readAll(target), kEarlier) << "the older copy was lost";
        EXPECT_TRUE(readAll(source) == bytes) << "the source changed";
        EXPECT_EQ(QDir(at("out")).entryList(QDir::Files | QDir::Hidden),
            QStringList { QStringLiteral("rec_20240101_120000.avi") })
            << "a part file stayed";
    }
    EXPECT_GT(platform::kernelCopiedBytes() - before, 0) << "the kernel's copy ran into the full disk, not a buffer";
}

} // namespace
