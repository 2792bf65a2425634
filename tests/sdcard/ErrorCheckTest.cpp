#include "CardImages.h"

#include "sdcard/ErrorCheck.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace card_test;
using errorcheck::Outcome;

namespace {

// Marks clusters in the first FAT as a lost chain, which fsck.fat reports (and, with -n, leaves alone).
bool damageFat(const QString& image)
{
    QFile f(image);
    if (!f.open(QIODevice::ReadWrite))
        return false;
    const QByteArray boot = f.read(512);
    const int bytesPerSector = static_cast<uint8_t>(boot[11]) | (static_cast<uint8_t>(boot[12]) << 8);
    const int reserved = static_cast<uint8_t>(boot[14]) | (static_cast<uint8_t>(boot[15]) << 8);
    const qint64 fat = qint64(reserved) * bytesPerSector;
    const char chain[]
        = { 12, 0, 0, 0, static_cast<char>(0xff), static_cast<char>(0xff), static_cast<char>(0xff), 0x0f };
    return f.seek(fat + 4 * 11) && f.write(chain, 8) == 8;
}

class ErrorCheckOnImages : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        clean = dir.filePath(QStringLiteral("clean.img"));
        ASSERT_TRUE(makeFatImage(clean, 64 << 20, 1, QStringLiteral("KORVANE")));
        ASSERT_TRUE(putFile(clean, QStringLiteral("Setup"), QStringLiteral("setup.bin"), settingsBytes(),
            dir.filePath(QStringLiteral("s"))));
    }
    QTemporaryDir dir;
    QString clean;
};

TEST_F(ErrorCheckOnImages, CleanCardHasNoErrorsThoughItsSummarySaysFiles)
{
    std::vector<int> progress;
    const errorcheck::Result r = errorcheck::Run(clean, false, { [&](int p) { progress.push_back(p); }, {} });
    EXPECT_EQ(r.outcome, Outcome::Clean) << r.output.toStdString();
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_TRUE(r.output.contains(QLatin1String(" files, "))) << "the summary line itself carries the word";
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100);
    EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
    EXPECT_TRUE(errorcheck::OnlyMountMarks(
        { QStringLiteral("Dirty bit is set. Fs was not properly unmounted and some data may be corrupt.") }));
    EXPECT_FALSE(
        errorcheck::OnlyMountMarks({ QStringLiteral("Free cluster summary wrong (129021 vs. really 129020)") }));
}

TEST_F(ErrorCheckOnImages, DamagedFatIsErrorsFoundAndLeftUnchanged)
{
    const QString damaged = dir.filePath(QStringLiteral("damaged.img"));
    ASSERT_TRUE(QFile::copy(clean, damaged));
    ASSERT_TRUE(damageFat(damaged));
    QFile before(damaged);
    ASSERT_TRUE(before.open(QIODevice::ReadOnly));
    const QByteArray bytes = before.read(4 << 20);
    before.close();

    const errorcheck::Result r = errorcheck::Run(damaged, false, {});
    EXPECT_EQ(r.outcome, Outcome::Errors) << r.output.toStdString();
    EXPECT_EQ(r.exitStatus, 1);
    QFile after(damaged);
    ASSERT_TRUE(after.open(QIODevice::ReadOnly));
    EXPECT_EQ(after.read(4 << 20), bytes) << "the check is read-only";
}

// Linux sets the dirty flag of a FAT volume while it is mounted; fsck.fat reports it (status 1). On a mounted
// card that mark alone is no error; on an unmounted one it tells that the camera stopped without unmounting.
TEST_F(ErrorCheckOnImages, TheDirtyFlagOfAMountedCardIsNoError)
{
    const QString dirty = dir.filePath(QStringLiteral("dirty.img"));
    ASSERT_TRUE(QFile::copy(clean, dirty));
    QFile f(dirty);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek(65));
    ASSERT_EQ(f.write("\x01", 1), 1);
    f.close();
    const errorcheck::Result mounted = errorcheck::Run(dirty, true, {});
    EXPECT_EQ(mounted.exitStatus, 1);
    EXPECT_EQ(mounted.outcome, Outcome::Clean) << mounted.output.toStdString();
    EXPECT_EQ(errorcheck::Run(dirty, false, {}).outcome, Outcome::Errors);

    // A damaged FAT on a mounted card is still an error.
    ASSERT_TRUE(damageFat(dirty));
    EXPECT_EQ(errorcheck::Run(dirty, true, {}).outcome, Outcome::Errors);
}

TEST_F(ErrorCheckOnImages, TruncatedImageFailsTheCheck)
{
    const QString truncated = dir.filePath(QStringLiteral("truncated.img"));
    ASSERT_TRUE(QFile::copy(clean, truncated));
    ASSERT_TRUE(QFile::resize(truncated, 2 << 20));
    const errorcheck::Result r = errorcheck::Run(truncated, false, {});
    EXPECT_EQ(r.outcome, Outcome::Failed) << r.output.toStdString();
    EXPECT_EQ(r.exitStatus, 1) << "fsck.fat gives the same status as for errors: only the missing summary tells";
}

TEST_F(ErrorCheckOnImages, MissingVolumeFailsTheCheck)
{
    EXPECT_EQ(errorcheck::Run(dir.filePath(QStringLiteral("none.img")), false, {}).outcome, Outcome::Failed);
}

TEST(ErrorCheckRun, ACheckThatNeverEndsFailsAfterItsTimeOut)
{
    QTemporaryDir dir;
    const QString script = dir.filePath(QStringLiteral("fsck-hangs"));
    QFile f(script);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("#!/bin/sh\necho 'Checking we can access the last sector of the filesystem'\nexec sleep 30\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("KORVANE_FSCK", script.toLocal8Bit());
    const errorcheck::Result r = errorcheck::Run(script, false, {}, {}, 500);
    qunsetenv("KORVANE_FSCK");
    EXPECT_EQ(r.outcome, Outcome::Failed);
    EXPECT_TRUE(r.output.contains(QLatin1String("did not end")));
}

struct ClassifyCase
{
    const char* name;
    bool normal;
    int status;
    QStringList lines;
    Outcome outcome;
};

class ErrorCheckClassify : public ::testing::TestWithParam<ClassifyCase>
{
};

TEST_P(ErrorCheckClassify, Decides)
{
    const ClassifyCase& c = GetParam();
    EXPECT_EQ(errorcheck::Classify(c.normal, c.status, c.lines), c.outcome) << c.name;
}

const QString kSummary = QStringLiteral("/dev/sdb1: 12 files, 300/60000 clusters");

INSTANTIATE_TEST_SUITE_P(Table, ErrorCheckClassify,
    ::testing::Values(ClassifyCase { "clean", true, 0, { kSummary }, Outcome::Clean },
        ClassifyCase {
            "errors", true, 1, { QStringLiteral("Leaving filesystem unchanged."), kSummary }, Outcome::Errors },
        ClassifyCase { "no summary", true, 1, { QStringLiteral("Failed to read sector 131071.") }, Outcome::Failed },
        ClassifyCase {
            "no summary, status 0", true, 0, { QStringLiteral("Checking for unused clusters.") }, Outcome::Failed },
        ClassifyCase { "crash", false, 0, { kSummary }, Outcome::Failed },
        ClassifyCase { "usage or internal", true, 2, { kSummary }, Outcome::Failed },
        ClassifyCase { "words in ordinary lines", true, 0,
            { QStringLiteral("Checking files for errors /F"), QStringLiteral("recoverable boot sector text"),
                kSummary },
            Outcome::Clean },
        ClassifyCase { "problem sentence", true, 0,
            { QStringLiteral("Windows found problems with the file system."), kSummary }, Outcome::Errors },
        ClassifyCase { "Korean problem sentence", true, 0,
            { QStringLiteral("문제를 해결하려면 CHKDSK /F 옵션을 실행하십시오."), kSummary }, Outcome::Errors },
        ClassifyCase { "failure sentence beats errors", true, 1,
            { QStringLiteral("The parameter is incorrect."), kSummary }, Outcome::Failed },
        ClassifyCase { "Japanese failure sentence", true, 0,
            { QStringLiteral("ブート セクタを読み取れません。"), kSummary }, Outcome::Failed }));

TEST(ErrorCheckFragments, WordsOfASentenceNeverDecideAlone)
{
    EXPECT_EQ(errorcheck::MatchFragment(QStringLiteral("3 files, error")), 0);
    EXPECT_EQ(errorcheck::MatchFragment(QStringLiteral("Run CHKDSK with the /F (fix) option to correct these.")),
        errorcheck::kErrorsFound);
    EXPECT_EQ(errorcheck::MatchFragment(QStringLiteral("Cannot read boot sector")), errorcheck::kCheckFailed);
    EXPECT_EQ(errorcheck::Fragments().size(), 36u);
}

} // namespace
