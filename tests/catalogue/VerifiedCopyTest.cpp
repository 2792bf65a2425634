// Copies and moves that are either whole and verified or leave nothing under the target's name.
#include "catalogue/VerifiedCopy.h"
#include "platform/FileFaults.h"
#include "platform/FileSafety.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <functional>
#include <memory>
#include <sys/resource.h>

namespace {

QByteArray bytesOf(int size, int seed)
{
    QByteArray b(size, '\0');
    for (int i = 0; i < size; ++i)
        b[i] = char((i * 131 + seed * 7) >> 3);
    return b;
}

bool write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

QByteArray read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// Files larger than `bytes` cannot be written by this process while it lives: a disk that fills up during
// the copy, without mounting anything.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_saved {};
    void (*m_oldHandler)(int) = nullptr;
};

class VerifiedCopyTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path(const QString& name) const { return dir.filePath(name); }
};

TEST_F(VerifiedCopyTest, CopiesContentAndTimeIntoNewFolders)
{
    const QByteArray data = bytesOf(3 * 1024 * 1024 + 17, 1);
    ASSERT_TRUE(write(path("card/rec_1.avi"), data));
    const QDateTime stamp = QDateTime::fromSecsSinceEpoch(1700000000);
    {
        QFile f(path("card/rec_1.avi"));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.setFileTime(stamp, QFileDevice::FileModificationTime));
    }
    int64_t lastProgress = 0;
    VerifiedCopyOptions options;
    options.chunkBytes = 1024 * 1024;
    options.progress = [&](int64_t copied, int64_t total) {
        EXPECT_GT(copied, lastProgress);
        EXPECT_EQ(total, data.size());
        lastProgress = copied;
    };
    const VerifiedCopyResult r = CopyFileVerified(path("card/rec_1.avi"), path("desk/a/b/rec_1.avi"), options);
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_EQ(r.bytes, data.size());
    EXPECT_EQ(lastProgress, data.size());
    EXPECT_EQ(read(path("desk/a/b/rec_1.avi")), data);
    EXPECT_EQ(QFileInfo(path("desk/a/b/rec_1.avi")).lastModified(), stamp);
    EXPECT_EQ(entries(path("desk/a/b")), QStringList { QStringLiteral("rec_1.avi") });
}

TEST_F(VerifiedCopyTest, EmptyFileIsCopied)
{
    ASSERT_TRUE(write(path("card/empty.dat"), QByteArray()));
    const VerifiedCopyResult r = CopyFileVerified(path("card/empty.dat"), path("desk/empty.dat"));
    ASSERT_TRUE(r.ok()) << r.error.toStdString();
    EXPECT_TRUE(QFileInfo(path("desk/empty.dat")).isFile());
}

TEST_F(VerifiedCopyTest, SecondCopyReplacesOrRefusesAsAsked)
{
    ASSERT_TRUE(write(path("card/x.avi"), "new"));
    ASSERT_TRUE(write(path("desk/x.avi"), "old"));
    VerifiedCopyOptions keep;
    keep.replaceExisting = false;
    EXPECT_EQ(CopyFileVerified(path("card/x.avi"), path("desk/x.avi"), keep).status, VerifiedCopyResult::TargetExists);
    EXPECT_EQ(read(path("desk/x.avi")), QByteArray("old"));
    EXPECT_TRUE(CopyFileVerified(path("card/x.avi"), path("desk/x.avi")).ok());
    EXPECT_EQ(read(path("desk/x.avi")), QByteArray("new"));
}

TEST_F(VerifiedCopyTest, FullDiskLeavesNoPartialFileAndKeepsTheOlderCopy)
{
    const QByteArray data = bytesOf(3 * 1024 * 1024, 2);
    ASSERT_TRUE(write(path("card/big.avi"), data));
    ASSERT_TRUE(write(path("desk/big.avi"), "an older good copy"));
    VerifiedCopyResult r;
    {
        FileSizeLimit limit(1024 * 1024);
        r = CopyFileVerified(path("card/big.avi"), path("desk/big.avi"));
    }
    EXPECT_EQ(r.status, VerifiedCopyResult::TargetFailed);
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_EQ(read(path("desk/big.avi")), QByteArray("an older good copy"));
    EXPECT_EQ(entries(path("desk")), QStringList { QStringLiteral("big.avi") });
}

class VerifiedCopyCheckTest : public VerifiedCopyTest, public ::testing::WithParamInterface<bool> { };

// The check runs beside the copy, or after a sync to the device (moves).
INSTANTIATE_TEST_SUITE_P(Modes, VerifiedCopyCheckTest, ::testing::Values(false, true),
    [](const auto& info) { return std::string(info.param ? "durable" : "beside"); });

TEST_P(VerifiedCopyCheckTest, SourceThatChangesDuringTheCopyFailsTheCheck)
{
    const QByteArray data = bytesOf(3 * 1024 * 1024, 3);
    ASSERT_TRUE(write(path("card/live.avi"), data));
    VerifiedCopyOptions options;
    options.durable = GetParam();
    options.chunkBytes = 1024 * 1024;
    bool changed = false;
    options.progress = [&](int64_t, int64_t) {
        if (changed)
            return;
        // The camera (or a bad card) changes bytes already copied; the size stays the same.
        QFile f(path("card/live.avi"));
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek(1000));
        ASSERT_EQ(f.write("changed"), 7);
        changed = true;
    };
    const VerifiedCopyResult r = CopyFileVerified(path("card/live.avi"), path("desk/live.avi"), options);
    EXPECT_EQ(r.status, VerifiedCopyResult::VerifyFailed);
    EXPECT_TRUE(r.error.contains(QStringLiteral("differs"))) << r.error.toStdString();
    EXPECT_TRUE(entries(path("desk")).isEmpty());
}

struct FaultCase
{
    const char* name;
    std::function<void(platform::FileFaultRules&)> rules;
};

class VerifiedCopyFaultTest : public VerifiedCopyTest, public ::testing::WithParamInterface<FaultCase>
{
protected:
    void TearDown() override { platform::setFileFaultPlan(nullptr); }
};

TEST_P(VerifiedCopyFaultTest, FailsWithoutAPartialFileAndKeepsTheOlderCopy)
{
    const QByteArray data = bytesOf(3 * 1024 * 1024, 4);
    ASSERT_TRUE(write(path("card/rec_9.avi"), data));
    ASSERT_TRUE(write(path("desk/rec_9.avi"), "an older good copy"));
    auto rules = std::make_shared<platform::FileFaultRules>();
    GetParam().rules(*rules);
    platform::setFileFaultPlan(rules);
    VerifiedCopyOptions options;
    options.chunkBytes = 1024 * 1024;
    const VerifiedCopyResult r = CopyFileVerified(path("card/rec_9.avi"), path("desk/rec_9.avi"), options);
    platform::setFileFaultPlan(nullptr);
    EXPECT_FALSE(r.ok());
    EXPECT_FALSE(r.error.isEmpty());
    EXPECT_GT(rules->failures(), 0);
    EXPECT_EQ(read(path("desk/rec_9.avi")), QByteArray("an older good copy"));
    EXPECT_EQ(entries(path("desk")), QStringList { QStringLiteral("rec_9.avi") });
}

INSTANTIATE_TEST_SUITE_P(Faults, VerifiedCopyFaultTest,
    ::testing::Values(
        FaultCase { "unreadableCardSector",
            [](platform::FileFaultRules& r) { r.failReadsAt(QStringLiteral("card/rec_9"), 1500000, 512, EIO); } },
        FaultCase { "fullDesktopDisk",
            [](platform::FileFaultRules& r) { r.failWritesAfter(QStringLiteral("desk/"), 2000000, ENOSPC); } },
        FaultCase { "cardPulledMidway",
            [](platform::FileFaultRules& r) { r.vanishAfter(QStringLiteral("card/rec_9"), 1200000); } }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(VerifiedCopyTest, MoveWhoseSyncFailsKeepsTheSource)
{
    QTemporaryDir other(QStringLiteral("/dev/shm/korvane-move-XXXXXX"));
    if (!other.isValid() || platform::sameFileSystem(other.path(), dir.path()))
        GTEST_SKIP() << "no second file system to move to";
    ASSERT_TRUE(write(path("card/a.avi"), bytesOf(100000, 6)));
    auto rules = std::make_shared<platform::FileFaultRules>();
    rules->failSyncs(other.path(), EIO);
    platform::setFileFaultPlan(rules);
    const MoveResult m = MoveFileSafely(path("card/a.avi"), other.filePath(QStringLiteral("a.avi")));
    platform::setFileFaultPlan(nullptr);
    EXPECT_FALSE(m.ok);
    EXPECT_EQ(read(path("card/a.avi")), bytesOf(100000, 6));
    EXPECT_TRUE(entries(other.path()).isEmpty());
}

TEST_F(VerifiedCopyTest, PulledCardIsReportedAndWritesNothing)
{
    const VerifiedCopyResult r = CopyFileVerified(path("card/gone.avi"), path("desk/gone.avi"));
    EXPECT_EQ(r.status, VerifiedCopyResult::SourceUnreadable);
    EXPECT_FALSE(QFileInfo::exists(path("desk")));
}

TEST_F(VerifiedCopyTest, AFolderIsNotCopiedAsAFile)
{
    ASSERT_TRUE(QDir().mkpath(path("card/rec_2.avi")));
    EXPECT_EQ(CopyFileVerified(path("card/rec_2.avi"), path("desk/rec_2.avi")).status,
        VerifiedCopyResult::SourceUnreadable);
    EXPECT_FALSE(QFileInfo::exists(path("desk/rec_2.avi")));
}

TEST_F(VerifiedCopyTest, MoveWithinOneFileSystemRenames)
{
    ASSERT_TRUE(write(path("card/a.avi"), "damaged"));
    const MoveResult m = MoveFileSafely(path("card/a.avi"), path("card/Original/a_Original.avi"));
    EXPECT_FALSE(m.ok); // the folder does not exist: moves make no folders
    ASSERT_TRUE(QDir().mkpath(path("card/Original")));
    const MoveResult ok = MoveFileSafely(path("card/a.avi"), path("card/Original/a_Original.avi"));
    ASSERT_TRUE(ok.ok) << ok.error.toStdString();
    EXPECT_FALSE(ok.copied);
    EXPECT_FALSE(QFileInfo::exists(path("card/a.avi")));
    EXPECT_EQ(read(path("card/Original/a_Original.avi")), QByteArray("damaged"));
}

TEST_F(VerifiedCopyTest, MoveNeverOverwrites)
{
    ASSERT_TRUE(write(path("card/a.avi"), "one"));
    ASSERT_TRUE(write(path("card/b.avi"), "two"));
    EXPECT_FALSE(MoveFileSafely(path("card/a.avi"), path("card/b.avi")).ok);
    EXPECT_EQ(read(path("card/a.avi")), QByteArray("one"));
    EXPECT_EQ(read(path("card/b.avi")), QByteArray("two"));
    EXPECT_EQ(platform::renameFile(path("card/a.avi"), path("card/b.avi"), false), platform::RenameResult::TargetExists);
    EXPECT_EQ(read(path("card/b.avi")), QByteArray("two"));
}

TEST_F(VerifiedCopyTest, MoveAcrossFileSystemsCopiesVerifiesAndRemoves)
{
    QTemporaryDir other(QStringLiteral("/dev/shm/korvane-move-XXXXXX"));
    if (!other.isValid() || platform::sameFileSystem(other.path(), dir.path()))
        GTEST_SKIP() << "no second file system to move to";
    const QByteArray data = bytesOf(2 * 1024 * 1024 + 3, 5);
    ASSERT_TRUE(write(path("card/a.avi"), data));
    const QString target = other.filePath(QStringLiteral("a_Original.avi"));
    const MoveResult m = MoveFileSafely(path("card/a.avi"), target);
    ASSERT_TRUE(m.ok) << m.error.toStdString();
    EXPECT_TRUE(m.copied);
    EXPECT_FALSE(QFileInfo::exists(path("card/a.avi")));
    EXPECT_EQ(read(target), data);
    EXPECT_EQ(entries(other.path()), QStringList { QStringLiteral("a_Original.avi") });
}

TEST(FileSafety, FreeSpaceOfAFolderAndOfNothing)
{
    QTemporaryDir dir;
    EXPECT_GT(platform::availableSpace(dir.path()), 0);
    EXPECT_EQ(platform::availableSpace(QStringLiteral("/nonexistent/folder")), -1);
}

} // namespace
