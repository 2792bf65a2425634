// The copy job and the delete core on card folders built by the tests.
#include "CatalogueFixture.h"
#include "ReadOnlyFolder.h"
#include "catalogue/CopyJob.h"
#include "catalogue/DesktopBackup.h"
#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingDeletion.h"

#include <QDateTime>
#include <QFileInfo>
#include <QTemporaryDir>

#include <csignal>
#include <sys/resource.h>

namespace {

QStringList namesOf(const QStringList& paths, const QString& folder)
{
    QStringList out;
    for (const QString& p : paths)
        out << (p.startsWith(folder) ? p.mid(folder.size()) : p);
    return out;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

RecordingCatalogue scanned(const CardFolder& card, int model = 0)
{
    RecordingCatalogue catalogue;
    catalogue.ScanCatalogueFolder(card.path(), model);
    catalogue.setFolder(card.path());
    return catalogue;
}

TEST(DesktopBackup, StampedFolders)
{
    const QDateTime at(QDate(2025, 3, 14), QTime(9, 5, 59));
    EXPECT_EQ(CopyDestinationFolder(QStringLiteral("/home/u/Desktop/KORVANE/"), at, false),
        QStringLiteral("/home/u/Desktop/KORVANE/20250314_0905/"));
    EXPECT_EQ(CopyDestinationFolder(QStringLiteral("/home/u/Desktop/KORVANE"), at, true),
        QStringLiteral("/home/u/Desktop/KORVANE/Event 20250314_0905/"));
    EXPECT_TRUE(DesktopBackupFolder().endsWith(QStringLiteral("/KORVANE/")));
}

struct PairCase
{
    const char* name;
    QStringList files;            // on the card
    int model;                    // 4 records MP4
    std::vector<SelectedRow> rows;
    QStringList expectedSources;  // card-relative, in order
    int queuedVideos;
};

class CopyPairsTest : public ::testing::TestWithParam<PairCase> { };

TEST_P(CopyPairsTest, PairsExistingVideoAndDataFiles)
{
    const PairCase& c = GetParam();
    CardFolder card;
    for (const QString& f : c.files)
        card.add(f);
    const RecordingCatalogue catalogue = scanned(card, c.model);
    CopyJob job(catalogue.videoExtension());
    const QString dest = QStringLiteral("/desk/KORVANE/20250314_0905/");
    AddRowPairs(job, catalogue, c.rows, dest);
    EXPECT_EQ(namesOf(job.sources(), card.root()), c.expectedSources);
    EXPECT_EQ(namesOf(job.targets(), dest), c.expectedSources);
    EXPECT_EQ(job.queuedVideoCount(), c.queuedVideos);
}

INSTANTIATE_TEST_SUITE_P(Rows, CopyPairsTest,
    ::testing::Values(
        PairCase { "videoAndData", { "rec_20250314_090000.avi", "rec_20250314_090000.dat" }, 0,
            { { 0, "Normal", "20250314_090000" } }, { "rec_20250314_090000.avi", "rec_20250314_090000.dat" }, 1 },
        PairCase { "kindsByLabel", { "evt_20250314_090000.avi", "pmr_20250314_090100.avi", "rec_20250314_090200.avi" }, 0,
            { { 0, "Event", "20250314_090000" }, { 1, "Parking", "20250314_090100" }, { 2, "Other", "20250314_090200" } },
            { "evt_20250314_090000.avi", "pmr_20250314_090100.avi", "rec_20250314_090200.avi" }, 3 },
        PairCase { "dataFileOnly", { "rec_20250314_090000.dat", "rec_20250314_080000.avi" }, 0,
            { { 0, "Normal", "20250314_090000" } }, { "rec_20250314_090000.dat" }, 0 },
        PairCase { "otherExtensionCopiesOnlyData",
            { "rec_20250314_090000.avi", "rec_20250314_090000.dat" }, 4,
            { { 0, "Normal", "20250314_090000" } }, { "rec_20250314_090000.dat" }, 0 },
        PairCase { "mp4Catalogue", { "evt_20250314_090000.mp4", "evt_20250314_090000.dat" }, 4,
            { { 0, "Event", "20250314_090000" } }, { "evt_20250314_090000.mp4", "evt_20250314_090000.dat" }, 1 },
        PairCase { "nothingThere", { "rec_20250314_080000.avi" }, 0, { { 0, "Normal", "20250314_090000" } }, {}, 0 }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CopyPairs, DataPathChangesOnlyTheEndOfTheName)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("trip.avi.backup/"));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const char* name : { "rec_20250314_090000.avi", "rec_20250314_090000.dat" }) {
        QFile f(folder + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    RecordingCatalogue catalogue;
    ASSERT_TRUE(catalogue.ScanCatalogueFolder(folder, 0));
    catalogue.setFolder(folder);
    CopyJob job(catalogue.videoExtension());
    AddRowPairs(job, catalogue, { { 0, "Normal", "20250314_090000" } }, QStringLiteral("/d/x.avi/"));
    ASSERT_EQ(job.pairCount(), 2);
    EXPECT_EQ(job.sources()[1], folder + QStringLiteral("rec_20250314_090000.dat"));
    EXPECT_EQ(job.targets()[1], QStringLiteral("/d/x.avi/rec_20250314_090000.dat"));
}

TEST(CopyPairs, EventBackupTakesTheEventNameList)
{
    CardFolder card;
    card.add(QStringLiteral("evt_20250314_090000.avi"));
    card.add(QStringLiteral("evt_20250314_090000.dat"));
    card.add(QStringLiteral("evt_20250314_100000.avi"));
    card.add(QStringLiteral("rec_20250314_110000.avi"));
    const RecordingCatalogue catalogue = scanned(card);
    CopyJob job(catalogue.videoExtension());
    AddEventPairs(job, catalogue, QStringLiteral("/d/Event 20250314_0905/"));
    QStringList sources = namesOf(job.sources(), card.root());
    sources.sort();
    EXPECT_EQ(sources, QStringList({ QStringLiteral("evt_20250314_090000.avi"), QStringLiteral("evt_20250314_090000.dat"),
                           QStringLiteral("evt_20250314_100000.avi") }));
    EXPECT_EQ(job.queuedVideoCount(), 2);
}

class CopyJobTest : public ::testing::Test
{
protected:
    CardFolder card;
    QTemporaryDir desk;
    QString dest;

    void SetUp() override { dest = desk.filePath(QStringLiteral("KORVANE/20250314_0905/")); }

    void fill(CopyJob& job, const QStringList& names)
    {
        for (const QString& n : names)
            job.AddPair(card.root() + n, dest + n);
    }
};

TEST_F(CopyJobTest, CopiesEveryPairAndCountsTheVideos)
{
    card.add(QStringLiteral("rec_1.avi"), QByteArray(5000, 'a'));
    card.add(QStringLiteral("rec_1.dat"), QByteArray(100, 'd'));
    card.add(QStringLiteral("rec_2.AVI"), QByteArray(7000, 'b'));
    CopyJob job(QStringLiteral(".avi"));
    fill(job, { QStringLiteral("rec_1.avi"), QStringLiteral("rec_1.dat"), QStringLiteral("rec_2.AVI") });
    EXPECT_EQ(job.queuedVideoCount(), 2);
    job.Run();
    EXPECT_TRUE(job.isDone());
    EXPECT_EQ(job.finishedVideoCount(), 2);
    EXPECT_EQ(job.copiedFileCount(), 3);
    EXPECT_TRUE(job.failures().empty());
    EXPECT_EQ(job.copiedBytes(), 12100);
    EXPECT_EQ(readAll(dest + QStringLiteral("rec_2.AVI")), QByteArray(7000, 'b'));
}

TEST_F(CopyJobTest, CancelDuringTheFirstFileFinishesThatFileOnly)
{
    card.add(QStringLiteral("rec_1.avi"), QByteArray(5000, 'a'));
    card.add(QStringLiteral("rec_1.dat"), QByteArray(100, 'd'));
    card.add(QStringLiteral("rec_2.avi"), QByteArray(7000, 'b'));
    CopyJob job(QStringLiteral(".avi"));
    fill(job, { QStringLiteral("rec_1.avi"), QStringLiteral("rec_1.dat"), QStringLiteral("rec_2.avi") });
    // The flag is read between files, so one set while the first file is copied acts like one set now.
    job.Cancel();
    job.Run();
    EXPECT_TRUE(job.isDone());
    EXPECT_EQ(readAll(dest + QStringLiteral("rec_1.avi")), QByteArray(5000, 'a'));
    EXPECT_FALSE(QFileInfo::exists(dest + QStringLiteral("rec_1.dat")));
    EXPECT_FALSE(QFileInfo::exists(dest + QStringLiteral("rec_2.avi")));
    EXPECT_EQ(job.skippedPairCount(), 2);
}

TEST_F(CopyJobTest, FullDiskNamesTheFilesNotCopiedAndLeavesNoPartialFile)
{
    card.add(QStringLiteral("rec_1.avi"), QByteArray(3 * 1024 * 1024, 'a'));
    card.add(QStringLiteral("rec_1.dat"), QByteArray(100, 'd'));
    card.add(QStringLiteral("rec_2.avi"), QByteArray(2 * 1024 * 1024, 'b'));
    CopyJob job(QStringLiteral(".avi"));
    fill(job, { QStringLiteral("rec_1.avi"), QStringLiteral("rec_1.dat"), QStringLiteral("rec_2.avi") });
    {
        rlimit saved {};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved;
        limit.rlim_cur = 1024 * 1024;
        ::setrlimit(RLIMIT_FSIZE, &limit);
        job.Run();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, oldHandler);
    }
    ASSERT_EQ(job.failures().size(), 2u);
    EXPECT_EQ(job.failures()[0].source, card.root() + QStringLiteral("rec_1.avi"));
    EXPECT_EQ(job.failures()[1].source, card.root() + QStringLiteral("rec_2.avi"));
    EXPECT_EQ(job.copiedFileCount(), 1);
    EXPECT_EQ(job.finishedVideoCount(), 2); // the bar still reaches its end
    EXPECT_EQ(QDir(dest).entryList(QDir::Files | QDir::Hidden), QStringList { QStringLiteral("rec_1.dat") });
}

TEST_F(CopyJobTest, SameMinuteCopyReplacesTheEarlierFile)
{
    card.add(QStringLiteral("rec_1.avi"), QByteArray("first"));
    CopyJob first(QStringLiteral(".avi"));
    fill(first, { QStringLiteral("rec_1.avi") });
    first.Run();
    card.add(QStringLiteral("rec_1.avi"), QByteArray("second"));
    CopyJob second(QStringLiteral(".avi"));
    fill(second, { QStringLiteral("rec_1.avi") });
    second.Run();
    EXPECT_TRUE(second.failures().empty());
    EXPECT_EQ(readAll(dest + QStringLiteral("rec_1.avi")), QByteArray("second"));
}

struct PositionCase
{
    int current;
    std::vector<int> removed;
    int expected;
};

class PositionTest : public ::testing::TestWithParam<PositionCase> { };

TEST_P(PositionTest, MovesByTheRowsRemovedBeforeIt)
{
    EXPECT_EQ(PositionAfterRemoval(GetParam().current, GetParam().removed), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Rows, PositionTest,
    ::testing::Values(PositionCase { 5, {}, 5 }, // nothing removed
        PositionCase { 5, { 1, 3 }, 3 },        // two rows before it
        PositionCase { 5, { 5 }, 5 },           // the current row: the next row moves into its place
        PositionCase { 5, { 4, 5, 6 }, 4 },     // one before, itself, one after
        PositionCase { 2, { 6, 7 }, 2 },        // only rows after it
        PositionCase { 0, { 0 }, 0 },           // the first row
        PositionCase { 9, { 9 }, 9 },           // the last of ten rows: one past the end of nine
        PositionCase { 3, { 0, 1, 2, 3 }, 0 })); // everything up to it

class DeleteTest : public ::testing::Test
{
protected:
    CardFolder card;
    RecordingCatalogue catalogue;

    void SetUp() override
    {
        for (const char* base : { "20250314_090000", "20250314_090100", "20250314_090200", "20250314_090300" }) {
            card.add(QStringLiteral("rec_%1.avi").arg(QLatin1String(base)));
            card.add(QStringLiteral("rec_%1.dat").arg(QLatin1String(base)));
        }
        card.add(QStringLiteral("evt_20250314_090400.avi"));
        catalogue = scanned(card);
    }

    bool exists(const QString& name) const { return QFileInfo::exists(card.root() + name); }
};

TEST_F(DeleteTest, RowsBeforeTheCurrentOneKeepItCurrent)
{
    const DeletionOutcome o = DeleteRecordings(catalogue,
        { { 0, "Normal", "20250314_090000" }, { 1, "Normal", "20250314_090100" } }, 3);
    EXPECT_EQ(o.removedRows, (std::vector<int> { 0, 1 }));
    EXPECT_FALSE(o.currentSelected);
    EXPECT_EQ(o.newPosition, 1);
    EXPECT_FALSE(exists(QStringLiteral("rec_20250314_090000.avi")));
    EXPECT_FALSE(exists(QStringLiteral("rec_20250314_090000.dat")));
    EXPECT_FALSE(catalogue.names(RecordingKind::Normal).contains(QStringLiteral("rec_20250314_090100.avi")));
    EXPECT_TRUE(o.failedFiles.isEmpty());
}

TEST_F(DeleteTest, DeletingThePlayingRowLetsTheNextRowMoveIn)
{
    const DeletionOutcome o = DeleteRecordings(catalogue, { { 2, "Normal", "20250314_090200" } }, 2);
    EXPECT_TRUE(o.currentSelected);
    EXPECT_TRUE(o.currentDeleted);
    EXPECT_EQ(o.newPosition, 2);
}

TEST_F(DeleteTest, DeletingTheLastRowWhilePlayingPointsPastTheEnd)
{
    const DeletionOutcome o = DeleteRecordings(catalogue, { { 4, "Event", "20250314_090400" } }, 4);
    EXPECT_TRUE(o.currentDeleted);
    EXPECT_EQ(o.newPosition, 4); // four rows remain: one past the last
    EXPECT_FALSE(exists(QStringLiteral("evt_20250314_090400.avi")));
    EXPECT_TRUE(catalogue.names(RecordingKind::Event).isEmpty());
}

TEST_F(DeleteTest, RowWithoutFilesIsStillRemoved)
{
    const DeletionOutcome o = DeleteRecordings(catalogue, { { 1, "Normal", "20250314_235959" } }, 0);
    EXPECT_EQ(o.removedRows, std::vector<int> { 1 });
    EXPECT_TRUE(o.failedFiles.isEmpty());
}

TEST_F(DeleteTest, FileThatCannotBeDeletedKeepsItsRow)
{
    ReadOnlyFolder readOnly(card.path());
    if (!readOnly.ok())
        GTEST_SKIP() << "this file system cannot make a folder read-only";
    const DeletionOutcome o = DeleteRecordings(catalogue,
        { { 1, "Normal", "20250314_090100" }, { 2, "Normal", "20250314_090200" } }, 2);
    readOnly.restore();
    EXPECT_TRUE(o.removedRows.empty());
    EXPECT_EQ(o.keptRows, (std::vector<int> { 1, 2 }));
    EXPECT_TRUE(o.currentSelected);
    EXPECT_FALSE(o.currentDeleted);
    EXPECT_EQ(o.newPosition, 2);
    EXPECT_EQ(namesOf(o.failedFiles, card.root()),
        QStringList({ QStringLiteral("rec_20250314_090100.avi"), QStringLiteral("rec_20250314_090200.avi") }));
    EXPECT_TRUE(exists(QStringLiteral("rec_20250314_090100.avi")));
    EXPECT_TRUE(exists(QStringLiteral("rec_20250314_090100.dat")));
    EXPECT_TRUE(catalogue.names(RecordingKind::Normal).contains(QStringLiteral("rec_20250314_090100.avi")));
}

TEST_F(DeleteTest, OnlyTheFailedRowsStay)
{
    const QString locked = card.root() + QStringLiteral("rec_20250314_090100.avi");
    const DeletionOutcome o = DeleteRecordings(catalogue,
        { { 0, "Normal", "20250314_090000" }, { 1, "Normal", "20250314_090100" }, { 3, "Normal", "20250314_090300" } }, 4,
        [&](const QString& path) { return path != locked && QFile::remove(path); });
    EXPECT_EQ(o.removedRows, (std::vector<int> { 0, 3 }));
    EXPECT_EQ(o.keptRows, std::vector<int> { 1 });
    EXPECT_EQ(o.newPosition, 2);
    EXPECT_EQ(o.failedFiles, QStringList { locked });
    EXPECT_TRUE(exists(QStringLiteral("rec_20250314_090100.dat")));
}

TEST_F(DeleteTest, DataFileThatStaysIsReportedButTheRecordingIsGone)
{
    const QString data = card.root() + QStringLiteral("rec_20250314_090000.dat");
    const DeletionOutcome o = DeleteRecordings(catalogue, { { 0, "Normal", "20250314_090000" } }, 1,
        [&](const QString& path) { return path != data && QFile::remove(path); });
    EXPECT_EQ(o.removedRows, std::vector<int> { 0 });
    EXPECT_EQ(o.failedFiles, QStringList { data });
    EXPECT_FALSE(exists(QStringLiteral("rec_20250314_090000.avi")));
}

TEST(Delete, DataPathChangesOnlyTheEndOfTheName)
{
    QTemporaryDir dir;
    // A folder whose name holds the video extension: only the file name's extension becomes ".dat".
    const QString folder = dir.filePath(QStringLiteral("trip.avi.d/"));
    ASSERT_TRUE(QDir().mkpath(folder));
    for (const char* name : { "rec_20250314_090000.avi", "rec_20250314_090000.dat" }) {
        QFile f(folder + QLatin1String(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    RecordingCatalogue catalogue;
    ASSERT_TRUE(catalogue.ScanCatalogueFolder(folder, 0));
    catalogue.setFolder(folder);
    const DeletionOutcome o = DeleteRecordings(catalogue, { { 0, "Normal", "20250314_090000" } }, 0);
    EXPECT_TRUE(o.failedFiles.isEmpty());
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
    EXPECT_TRUE(QFileInfo(folder).isDir());
}

TEST(Delete, Mp4CatalogueDeletesMp4AndLeavesOtherExtensions)
{
    CardFolder card;
    card.add(QStringLiteral("rec_20250314_090000.mp4"));
    card.add(QStringLiteral("rec_20250314_090000.dat"));
    card.add(QStringLiteral("rec_20250314_090100.avi"));
    RecordingCatalogue catalogue = scanned(card, 4);
    const DeletionOutcome o = DeleteRecordings(catalogue,
        { { 0, "Normal", "20250314_090000" }, { 1, "Normal", "20250314_090100" } }, 0);
    EXPECT_EQ(o.removedRows, (std::vector<int> { 0, 1 }));
    EXPECT_FALSE(QFileInfo::exists(card.root() + QStringLiteral("rec_20250314_090000.mp4")));
    EXPECT_FALSE(QFileInfo::exists(card.root() + QStringLiteral("rec_20250314_090000.dat")));
    // Not the catalogue's kind of video: the row goes, the file stays.
    EXPECT_TRUE(QFileInfo::exists(card.root() + QStringLiteral("rec_20250314_090100.avi")));
}

} // namespace
