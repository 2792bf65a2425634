// The recovery workflow on recordings built from bytes: what it repairs, where the files end up, and that no
// failure on the way loses or changes the recording.
#include "AviTestSupport.h"
#include "catalogue/ReadOnlyFolder.h"
#include "repair/RecoveryWorkflow.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace avitest;

namespace {

QByteArray frame(int n)
{
    return chunk("00dc", payload(300, QByteArray("\x00\x00\x01\x00", 4), n));
}

// What a camera leaves after a power cut: RIFF and movie sizes 0, no index.
QByteArray powerCutRecording(int frames = 12)
{
    QList<QByteArray> chunks;
    for (int i = 0; i < frames; ++i)
        chunks << frame(i);
    return file(Layout {}, chunks, false, false);
}

QByteArray intactRecording()
{
    return file(Layout {}, { frame(0), frame(1), frame(2) }, true, true);
}

struct IntactCase
{
    const char* name;
    QByteArray bytes;
    bool intact;
};

class IsIntactAviTest : public ::testing::TestWithParam<IntactCase> { };

TEST_P(IsIntactAviTest, JudgesTheRiffHeader)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("clip.avi"));
    ASSERT_TRUE(writeFile(path, GetParam().bytes));
    EXPECT_EQ(IsIntactAvi(path), GetParam().intact);
}

QByteArray patched(QByteArray bytes, int at, const QByteArray& with)
{
    bytes.replace(at, with.size(), with);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(Headers, IsIntactAviTest,
    ::testing::Values(IntactCase { "intact", intactRecording(), true },
        IntactCase { "zeroRiffSize", powerCutRecording(), false },
        IntactCase { "notRiff", patched(intactRecording(), 0, "RIFX"), false },
        IntactCase { "notAvi", patched(intactRecording(), 8, "WAVE"), false },
        IntactCase { "onlyEightBytes", intactRecording().left(8), false },
        IntactCase { "empty", QByteArray(), false },
        // Twelve bytes are all the test looks at.
        IntactCase { "headerOnly", intactRecording().left(12), true }),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IsIntactAvi, MissingFileIsNotIntact)
{
    EXPECT_FALSE(IsIntactAvi(QStringLiteral("/nonexistent/clip.avi")));
}

TEST(RecoveryNames, BesideTheRecordingOrUnderThePlace)
{
    QTemporaryDir dir;
    const QString card = dir.filePath(QStringLiteral("card/"));
    const RecoveryNames same = MakeRecoveryNames(card + QStringLiteral("rec_20250314_090500.avi"));
    EXPECT_EQ(same.repaired, card + QStringLiteral("rec_20250314_090500_fix.avi"));
    EXPECT_EQ(same.originalFolder, card + QStringLiteral("Original/"));
    EXPECT_EQ(same.keptDamaged, card + QStringLiteral("Original/rec_20250314_090500_Original.avi"));

    const QString desk = dir.filePath(QStringLiteral("Desktop/KORVANE/"));
    const RecoveryNames desktop = MakeRecoveryNames(card + QStringLiteral("clip.avi"), desk);
    EXPECT_EQ(desktop.repaired, desk + QStringLiteral("clip_fix.avi"));
    EXPECT_EQ(desktop.keptDamaged, desk + QStringLiteral("Original/clip_Original.avi"));
}

TEST(RecoveryNames, TakenNamesAreNeverReused)
{
    QTemporaryDir dir;
    const QString card = dir.path() + QLatin1Char('/');
    ASSERT_TRUE(QDir().mkpath(card + QStringLiteral("Original")));
    ASSERT_TRUE(writeFile(card + QStringLiteral("clip_fix.avi"), "old fix"));
    ASSERT_TRUE(writeFile(card + QStringLiteral("clip_fix_2.avi"), "older fix"));
    ASSERT_TRUE(writeFile(card + QStringLiteral("Original/clip_Original.avi"), "first damage"));
    const RecoveryNames names = MakeRecoveryNames(card + QStringLiteral("clip.avi"));
    EXPECT_EQ(names.repaired, card + QStringLiteral("clip_fix_3.avi"));
    EXPECT_EQ(names.keptDamaged, card + QStringLiteral("Original/clip_Original_2.avi"));
}

class RecoveryTest : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString card;
    QString desktop;
    QString recording;
    QString data;
    QByteArray damagedBytes;
    const QByteArray dataBytes = QByteArray("SENS sidecar bytes that must never change");

    void SetUp() override
    {
        card = dir.filePath(QStringLiteral("card/"));
        desktop = dir.filePath(QStringLiteral("home/Desktop/KORVANE/"));
        ASSERT_TRUE(QDir().mkpath(card));
        recording = card + QStringLiteral("evt_20250314_090500.avi");
        data = card + QStringLiteral("evt_20250314_090500.dat");
        damagedBytes = powerCutRecording();
        ASSERT_TRUE(writeFile(recording, damagedBytes));
        ASSERT_TRUE(writeFile(data, dataBytes));
    }

    RecoveryWorkflow workflow(int64_t freeSpace = int64_t(1) << 40)
    {
        RecoveryWorkflow w(desktop);
        w.setFreeSpaceQuery([freeSpace](const QString&) { return freeSpace; });
        return w;
    }

    // The recording exactly as it was, nothing added beside it.
    void expectUntouched()
    {
        EXPECT_EQ(readFile(recording), damagedBytes);
        EXPECT_EQ(readFile(data), dataBytes);
        EXPECT_EQ(QDir(card).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList({ QStringLiteral("evt_20250314_090500.avi"), QStringLiteral("evt_20250314_090500.dat") }));
    }
};

TEST_F(RecoveryTest, ZeroRiffSizeIsRepairedInPlaceWithTheDamagedFileKept)
{
    RecoveryWorkflow w = workflow();
    const RecoveryOutcome outcome = w.Recover(recording);
    ASSERT_EQ(outcome.status, RecoveryOutcome::Repaired) << outcome.error.toStdString();
    EXPECT_FALSE(outcome.usedDesktop);
    EXPECT_EQ(outcome.repairedAt, recording);
    const QString kept = card + QStringLiteral("Original/evt_20250314_090500_Original.avi");
    EXPECT_EQ(outcome.keptAt, kept);
    EXPECT_EQ(outcome.indexEntries, 12);
    EXPECT_EQ(outcome.streamChunks0, 12u);

    EXPECT_TRUE(IsIntactAvi(recording));
    const Structure repaired = inspect(readFile(recording));
    EXPECT_TRUE(repaired.ok) << repaired.problem.toStdString();
    EXPECT_EQ(repaired.count("00dc"), 12);
    EXPECT_EQ(readFile(kept), damagedBytes);
    EXPECT_EQ(readFile(data), dataBytes);
    EXPECT_FALSE(QFileInfo::exists(card + QStringLiteral("evt_20250314_090500_fix.avi")));
    EXPECT_FALSE(QFileInfo::exists(desktop));
}

TEST_F(RecoveryTest, CardWithoutRoomBuildsTheRepairOnTheDesktop)
{
    RecoveryWorkflow w = workflow(damagedBytes.size() - 1);
    const RecoveryOutcome outcome = w.Recover(recording);
    ASSERT_EQ(outcome.status, RecoveryOutcome::Repaired) << outcome.error.toStdString();
    EXPECT_TRUE(outcome.usedDesktop);
    EXPECT_TRUE(IsIntactAvi(recording));
    const QString kept = desktop + QStringLiteral("Original/evt_20250314_090500_Original.avi");
    EXPECT_EQ(outcome.keptAt, kept);
    EXPECT_EQ(readFile(kept), damagedBytes);
    EXPECT_FALSE(QFileInfo::exists(card + QStringLiteral("Original")));
    EXPECT_FALSE(QFileInfo::exists(desktop + QStringLiteral("evt_20250314_090500_fix.avi")));
    EXPECT_EQ(readFile(data), dataBytes);
}

TEST_F(RecoveryTest, UnknownFreeSpaceUsesTheDesktop)
{
    RecoveryWorkflow w = workflow(-1);
    EXPECT_TRUE(w.Plan(recording).usedDesktop);
}

TEST_F(RecoveryTest, ExistingFixAndOriginalFilesAreNeverOverwritten)
{
    ASSERT_TRUE(QDir().mkpath(card + QStringLiteral("Original")));
    const QString oldFix = card + QStringLiteral("evt_20250314_090500_fix.avi");
    const QString oldKept = card + QStringLiteral("Original/evt_20250314_090500_Original.avi");
    ASSERT_TRUE(writeFile(oldFix, "an earlier repair"));
    ASSERT_TRUE(writeFile(oldKept, "an earlier damaged file"));
    RecoveryWorkflow w = workflow();
    const RecoveryOutcome outcome = w.Recover(recording);
    ASSERT_EQ(outcome.status, RecoveryOutcome::Repaired) << outcome.error.toStdString();
    EXPECT_EQ(readFile(oldFix), QByteArray("an earlier repair"));
    EXPECT_EQ(readFile(oldKept), QByteArray("an earlier damaged file"));
    EXPECT_EQ(outcome.keptAt, card + QStringLiteral("Original/evt_20250314_090500_Original_2.avi"));
    EXPECT_EQ(readFile(outcome.keptAt), damagedBytes);
    EXPECT_TRUE(IsIntactAvi(recording));
}

struct FailingRecording
{
    const char* name;
    QByteArray bytes;
    RecoveryOutcome::Status status;
};

class RecoveryFailureTest : public RecoveryTest, public ::testing::WithParamInterface<FailingRecording> { };

TEST_P(RecoveryFailureTest, MovesNothing)
{
    damagedBytes = GetParam().bytes;
    ASSERT_TRUE(writeFile(recording, damagedBytes));
    RecoveryWorkflow w = workflow();
    const RecoveryOutcome outcome = w.Recover(recording);
    EXPECT_EQ(outcome.status, GetParam().status);
    EXPECT_FALSE(outcome.error.isEmpty());
    EXPECT_EQ(outcome.keptAt, recording);
    EXPECT_TRUE(outcome.repairedAt.isEmpty());
    expectUntouched();
}

QByteArray noFrames()
{
    // A header and a movie list of nothing but bytes that never parse.
    QByteArray bytes = file(Layout {}, {}, false, false);
    bytes.append(QByteArray(4000, char(0xEE)));
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(Sources, RecoveryFailureTest,
    ::testing::Values(FailingRecording { "notAnAvi", QByteArray(2000, 'x'), RecoveryOutcome::RepairFailed },
        FailingRecording { "matroska", QByteArray("\x1A\x45\xDF\xA3", 4) + QByteArray(2000, 'm'),
            RecoveryOutcome::RepairFailed },
        FailingRecording { "noMovieList", intactRecording().left(100), RecoveryOutcome::RepairFailed },
        FailingRecording { "nothingRecoverable", noFrames(), RecoveryOutcome::RepairFailed }),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecoveryTest, UnreadableRecordingMovesNothing)
{
    RecoveryWorkflow w = workflow();
    const RecoveryOutcome outcome = w.Recover(card + QStringLiteral("evt_20250314_100000.avi"));
    EXPECT_EQ(outcome.status, RecoveryOutcome::NotOpenable);
    expectUntouched();
}

TEST_F(RecoveryTest, ReadOnlyCardFolderMovesNothing)
{
    ReadOnlyFolder readOnly(card);
    if (!readOnly.ok())
        GTEST_SKIP() << "this file system cannot make a folder read-only";
    RecoveryWorkflow w = workflow();
    const RecoveryOutcome outcome = w.Recover(recording);
    readOnly.restore();
    EXPECT_FALSE(outcome.repaired());
    expectUntouched();
}

TEST_F(RecoveryTest, DesktopThatCannotBeMadeMovesNothing)
{
    // A file where the desktop folder should be.
    ASSERT_TRUE(writeFile(dir.filePath(QStringLiteral("home")), "not a folder"));
    RecoveryWorkflow w = workflow(10);
    const RecoveryOutcome outcome = w.Recover(recording);
    EXPECT_EQ(outcome.status, RecoveryOutcome::PlaceFailed);
    expectUntouched();
}

TEST_F(RecoveryTest, FailedSecondMoveUndoesTheFirst)
{
    RecoveryWorkflow w = workflow();
    int moves = 0;
    w.setMover([&moves](const QString& from, const QString& to) {
        if (++moves == 2)
            return MoveResult { false, false, QStringLiteral("the card was pulled") };
        return MoveFileSafely(from, to);
    });
    const RecoveryOutcome outcome = w.Recover(recording);
    EXPECT_EQ(moves, 3);
    EXPECT_EQ(outcome.status, RecoveryOutcome::PlaceRepairedFailed);
    EXPECT_FALSE(outcome.undoFailed);
    EXPECT_EQ(outcome.keptAt, recording);
    expectUntouched();
}

TEST_F(RecoveryTest, FailedFirstMoveLeavesTheRecording)
{
    RecoveryWorkflow w = workflow();
    w.setMover([](const QString&, const QString&) { return MoveResult { false, false, QStringLiteral("locked") }; });
    const RecoveryOutcome outcome = w.Recover(recording);
    EXPECT_EQ(outcome.status, RecoveryOutcome::KeepFailed);
    expectUntouched();
}

TEST_F(RecoveryTest, FailedUndoKeepsBothFilesAndSaysWhere)
{
    RecoveryWorkflow w = workflow();
    int moves = 0;
    w.setMover([&moves](const QString& from, const QString& to) {
        if (++moves >= 2)
            return MoveResult { false, false, QStringLiteral("the card was pulled") };
        return MoveFileSafely(from, to);
    });
    const RecoveryOutcome outcome = w.Recover(recording);
    EXPECT_EQ(outcome.status, RecoveryOutcome::PlaceRepairedFailed);
    EXPECT_TRUE(outcome.undoFailed);
    EXPECT_EQ(readFile(outcome.keptAt), damagedBytes);
    EXPECT_TRUE(IsIntactAvi(outcome.repairedAt));
    EXPECT_EQ(readFile(data), dataBytes);
}

} // namespace
