// The fault layer under the positioned reads and writes: the loops ride over short transfers, and the
// injected errors come out as the caller would see them from a failing card.
#include "platform/FileFaults.h"
#include "platform/FileRangeReader.h"
#include "platform/FileTransfer.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <memory>

using platform::FileFaultRules;
using platform::FileOp;

namespace {

class FileFaultsTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QByteArray data = QByteArray(100000, '\0');
    QString path;

    void SetUp() override
    {
        for (int i = 0; i < data.size(); ++i)
            data[i] = char(i * 7);
        path = dir.filePath(QStringLiteral("card.bin"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.write(data) == data.size());
    }
    void TearDown() override { platform::setFileFaultPlan(nullptr); }

    std::shared_ptr<FileFaultRules> install()
    {
        auto rules = std::make_shared<FileFaultRules>();
        platform::setFileFaultPlan(rules);
        return rules;
    }
};

TEST_F(FileFaultsTest, ShortReadsAndWritesAreCompletedByTheLoops)
{
    const auto rules = install();
    rules->shortTransfers("card.bin", FileOp::Read, 3).shortTransfers("copy.bin", FileOp::Write, 5);
    QFile in(path);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray got(5000, '\0');
    EXPECT_EQ(platform::readAt(in, 1000, got.data(), got.size()), 5000);
    EXPECT_EQ(got, data.mid(1000, 5000));
    // 5000 bytes three at a time: every call but the last two-byte one was cut short.
    EXPECT_EQ(rules->hits(0), 1666);
    EXPECT_EQ(rules->hits(1), 0);

    QFile out(dir.filePath(QStringLiteral("copy.bin")));
    ASSERT_TRUE(out.open(QIODevice::ReadWrite));
    EXPECT_EQ(platform::writeAt(out, 0, got.constData(), got.size()), 5000);
    EXPECT_EQ(platform::copyFileRange(in, 0, out, 5000, 20000), platform::RangeCopy::Done);
    out.seek(0);
    EXPECT_EQ(out.readAll(), data.mid(1000, 5000) + data.left(20000));
    EXPECT_EQ(rules->hits(1), 999 + 3999) << "every write of more than five bytes was cut to five";
    EXPECT_EQ(rules->failures(), 0) << "short transfers fail nothing";
}

TEST_F(FileFaultsTest, ARuleCountsOnlyTheCallsItActedOn)
{
    const auto rules = install();
    rules->shortTransfers("card.bin", FileOp::Read, 4096)
        .failReadsAt("card.bin", 90000, 10, EIO, 1, 1)
        .failSyncs("other.bin", EIO);
    ASSERT_EQ(rules->ruleCount(), 3u);
    QFile in(path);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    char b[4096];
    EXPECT_EQ(platform::readAt(in, 0, b, 100), 100);
    EXPECT_EQ(rules->hits(0), 0) << "a read of 100 bytes is not cut by a 4096-byte limit";
    EXPECT_EQ(platform::readAt(in, 89990, b, 20), 20) << "the spared first read";
    EXPECT_EQ(rules->hits(1), 0);
    EXPECT_EQ(platform::readAt(in, 89990, b, 20), -1);
    EXPECT_EQ(rules->hits(1), 1);
    EXPECT_EQ(platform::readAt(in, 89990, b, 20), 20) << "failed once only";
    EXPECT_EQ(platform::readAt(in, 0, b, 4096), 4096);
    EXPECT_EQ(rules->hits(0), 0);
    EXPECT_TRUE(platform::syncFile(in));
    EXPECT_EQ(rules->hits(2), 0) << "a rule for another file is never hit";
    EXPECT_EQ(rules->hits(7), 0) << "no such rule";
}

TEST_F(FileFaultsTest, ReadErrorsHitOnlyTheirRangeAndOnlyAsOftenAsAsked)
{
    const auto rules = install();
    rules->failReadsAt("card.bin", 50000, 10, EIO, 1);
    FileRangeReader reader(path);
    char b[16];
    EXPECT_TRUE(reader.readAt(0, b, 16));
    errno = 0;
    EXPECT_EQ(reader.readUpTo(49990, b, 16), -1);
    EXPECT_EQ(errno, EIO);
    EXPECT_TRUE(reader.readAt(49990, b, 16)) << "the second read succeeds";
    EXPECT_EQ(rules->failures(), 1);
    EXPECT_EQ(rules->hits(0), 1);
}

TEST_F(FileFaultsTest, AFullDiskCutsTheCrossingWriteShortAndFailsTheRest)
{
    const auto rules = install();
    rules->failWritesAfter("copy.bin", 7000, ENOSPC);
    QFile in(path);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QFile out(dir.filePath(QStringLiteral("copy.bin")));
    ASSERT_TRUE(out.open(QIODevice::ReadWrite));
    EXPECT_EQ(platform::writeAt(out, 0, data.constData(), 5000), 5000);
    errno = 0;
    EXPECT_EQ(platform::writeAt(out, 5000, data.constData(), 5000), -1);
    EXPECT_EQ(errno, ENOSPC);
    EXPECT_EQ(out.size(), 7000) << "the write that crossed the limit was cut short at it";
    EXPECT_EQ(platform::copyFileRange(in, 0, out, 7000, 100), platform::RangeCopy::Failed);
    EXPECT_EQ(rules->hits(0), 3) << "the crossing write cut short, then two failed";
}

TEST_F(FileFaultsTest, APulledCardRemovesTheFileAndFailsEverythingAfter)
{
    const auto rules = install();
    rules->vanishAfter("card.bin", 30000);
    QFile in(path);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    QByteArray got(20000, '\0');
    EXPECT_EQ(platform::readAt(in, 0, got.data(), got.size()), 20000);
    EXPECT_EQ(rules->hits(0), 0) << "the card is still there";
    EXPECT_EQ(platform::readAt(in, 20000, got.data(), got.size()), -1);
    EXPECT_EQ(rules->hits(0), 1);
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_FALSE(platform::syncFile(in));
    EXPECT_EQ(platform::readAt(in, 0, got.data(), 10), -1);
}

TEST_F(FileFaultsTest, SyncFailuresAreReported)
{
    install()->failSyncs("card.bin", EIO);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    EXPECT_FALSE(platform::syncFile(f));
    platform::setFileFaultPlan(nullptr);
    EXPECT_TRUE(platform::syncFile(f));
    EXPECT_TRUE(platform::syncDirectory(dir.path()));
}

} // namespace
