#include "camera/SetupBackup.h"
#include "camera/SetupRecord.h"

#include "CameraFixtures.h"

#include <QBuffer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <sys/resource.h>

using namespace camera_test;

namespace {

using M = CameraModel;
constexpr int kFrance = 33;

class SetupRecordSave : public ::testing::Test
{
protected:
    QString path() const { return m_dir.path() + QStringLiteral("/Setup/setup.bin"); }

    // Loads the file as the given model and changes the brightness, as an editor would.
    SetupRecord loadAndEdit(CameraModel model)
    {
        SetupRecord record(model);
        EXPECT_TRUE(LoadSetupRecord(record, path(), model, kFrance));
        record.setByte(setup::kBrightness, 1);
        return record;
    }

    void SetUp() override
    {
        setupbackup::setFolder(m_backups.path());
        setupbackup::resetSession();
    }
    void TearDown() override
    {
        setupbackup::setFolder(QString());
        setupbackup::resetSession();
    }

    QTemporaryDir m_dir;
    QTemporaryDir m_backups;
};

TEST_F(SetupRecordSave, TheSizeCheckingModelsWriteOnlyOverAFileOfTheirLength)
{
    struct Case
    {
        CameraModel model;
        int fileLength;
        SetupSaveResult expected;
    };
    const Case cases[] = {
        { M::Alpha, 18, SetupSaveResult::Saved },
        { M::Alpha, 19, SetupSaveResult::SizeChanged },
        { M::Alpha, 17, SetupSaveResult::SizeChanged },
        { M::AlphaSp, 21, SetupSaveResult::Saved },
        { M::AlphaSp, 18, SetupSaveResult::SizeChanged },
        { M::Bravo, 26, SetupSaveResult::Saved },
        { M::Bravo, 27, SetupSaveResult::SizeChanged },
        { M::Charlie, 26, SetupSaveResult::Saved },
        { M::Charlie, 30, SetupSaveResult::SizeChanged },
        { M::Foxtrot, 30, SetupSaveResult::Saved },
        { M::Foxtrot, 31, SetupSaveResult::SizeChanged },
        { M::Foxtrot, 26, SetupSaveResult::SizeChanged },
        // Delta and Echo write whatever the length.
        { M::Delta, 98, SetupSaveResult::Saved },
        { M::Delta, 120, SetupSaveResult::Saved },
        { M::Delta, 60, SetupSaveResult::Saved },
        { M::Echo, 100, SetupSaveResult::Saved },
        { M::Echo, 101, SetupSaveResult::Saved },
        { M::Echo, 98, SetupSaveResult::Saved },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << CameraModelName(c.model).toStdString() << " " << c.fileLength);
        const int length = SetupRecordLength(c.model);
        const QByteArray original = validImage(c.fileLength, cameraModelInfo(c.model).modelCode);
        ASSERT_TRUE(writeFile(path(), original));
        SetupRecord record = loadAndEdit(c.model);
        EXPECT_EQ(SaveSetupRecord(record, path()), c.expected);

        const QByteArray after = readFile(path());
        if (c.expected == SetupSaveResult::SizeChanged) {
            EXPECT_EQ(after, original);
            continue;
        }
        // The record is written over the start; a longer file keeps its tail and its length.
        EXPECT_EQ(after.left(length), record.image());
        EXPECT_EQ(after.size(), qMax(c.fileLength, length));
        if (c.fileLength > length) {
            EXPECT_EQ(after.mid(length), original.mid(length));
        }
        EXPECT_EQ(after.at(setup::kBrightness), 1);
    }
}

TEST_F(SetupRecordSave, AFileThatChangedLengthSinceLoadingIsLeftAlone)
{
    const QByteArray original = validImage(30, 11);
    ASSERT_TRUE(writeFile(path(), original));
    SetupRecord record = loadAndEdit(M::Foxtrot);
    const QByteArray grown = original + QByteArray(1, '\x05');
    ASSERT_TRUE(writeFile(path(), grown));
    EXPECT_EQ(SaveSetupRecord(record, path()), SetupSaveResult::SizeChanged);
    EXPECT_EQ(readFile(path()), grown);
}

TEST_F(SetupRecordSave, NeverCreatesTheFile)
{
    ASSERT_TRUE(writeFile(path(), validImage(100, 26)));
    SetupRecord record = loadAndEdit(M::Echo);
    ASSERT_TRUE(QFile::remove(path()));
    EXPECT_EQ(SaveSetupRecord(record, path()), SetupSaveResult::OpenFailed);
    EXPECT_FALSE(QFileInfo::exists(path()));
    // Not even its folder.
    ASSERT_TRUE(QDir(m_dir.path()).rmdir(QStringLiteral("Setup")));
    EXPECT_EQ(SaveSetupRecord(record, path()), SetupSaveResult::OpenFailed);
    EXPECT_FALSE(QFileInfo::exists(m_dir.path() + QStringLiteral("/Setup")));
    // A folder in the file's place is not opened as the file.
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("Setup/setup.bin")));
    EXPECT_EQ(SaveSetupRecord(record, path()), SetupSaveResult::OpenFailed);
}

TEST_F(SetupRecordSave, ANotLoadedRecordWritesNothing)
{
    SetupRecord record(M::Delta);
    EXPECT_FALSE(LoadSetupRecord(record, path(), M::Delta, kFrance));
    // The file appears later (the card is put back): the defaults must still not land on it.
    const QByteArray original = bytes(98, { { 18, 25 }, { 5, 3 } });
    ASSERT_TRUE(writeFile(path(), original));
    EXPECT_EQ(SaveSetupRecord(record, path()), SetupSaveResult::NotLoaded);
    EXPECT_EQ(readFile(path()), original);
}

TEST_F(SetupRecordSave, AnEchoSaveChangesOnlyWhatWasEdited)
{
    // Bytes the viewer does not use are written back exactly as read.
    QByteArray original = validImage(100, 26);
    original[3] = static_cast<char>(200);
    original[4] = 77;
    original[10] = 55;
    original[17] = 9;
    for (int i = 64; i < 81; ++i)
        original[i] = static_cast<char>('A' + (i - 64));
    original[19] = 0;
    ASSERT_TRUE(writeFile(path(), original));

    SetupRecord record(M::Echo);
    ASSERT_TRUE(LoadSetupRecord(record, path(), M::Echo, kFrance));
    record.setByte(setup::kShockSensing, 3);
    ASSERT_TRUE(record.setWifiPassword(QStringLiteral("0123456789")));
    ASSERT_EQ(SaveSetupRecord(record, path()), SetupSaveResult::Saved);

    const QByteArray after = readFile(path());
    ASSERT_EQ(after.size(), 100);
    for (int i = 0; i < 100; ++i) {
        const bool edited = i == setup::kShockSensing || i == setup::kWifiChanged
            || (i >= setup::kWifiPassword && i < setup::kWifiPassword + 10);
        if (!edited) {
            EXPECT_EQ(after.at(i), original.at(i)) << "byte " << i;
        }
    }
    EXPECT_EQ(after.at(setup::kShockSensing), 3);
    EXPECT_EQ(after.at(setup::kWifiChanged), 1);
    EXPECT_EQ(after.mid(setup::kWifiPassword, 17), QByteArray("0123456789\0\0\0\0\0\0\0", 17));
}

TEST_F(SetupRecordSave, RatiosThatDoNotAddUpAreRepairedBeforeWriting)
{
    ASSERT_TRUE(writeFile(path(), validImage(26, 20)));
    SetupRecord record(M::Charlie);
    ASSERT_TRUE(LoadSetupRecord(record, path(), M::Charlie, kFrance));
    record.setByte(setup::kRatioNormal, 90);
    ASSERT_EQ(SaveSetupRecord(record, path()), SetupSaveResult::Saved);
    const QByteArray after = readFile(path());
    EXPECT_EQ(after.mid(14, 3), QByteArray("\x28\x1e\x1e", 3));
}

TEST_F(SetupRecordSave, AReadOnlyFileKeepsItsBytes)
{
    const QByteArray original = validImage(100, 26);
    ASSERT_TRUE(writeFile(path(), original));
    SetupRecord record = loadAndEdit(M::Echo);
    ASSERT_TRUE(QFile::setPermissions(path(), QFileDevice::ReadOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther));
    EXPECT_EQ(SaveSetupRecord(record, path()), SetupSaveResult::OpenFailed);
    EXPECT_TRUE(isSaveFailure(SetupSaveResult::OpenFailed));
    EXPECT_EQ(readFile(path()), original);
    EXPECT_EQ(QDir(m_dir.path() + QStringLiteral("/Setup")).entryList(QDir::Files), QStringList { QStringLiteral("setup.bin") });
}

TEST_F(SetupRecordSave, AFullFileSystemKeepsTheOldBytes)
{
    // The process may write files of at most 50 bytes: the 100-byte record cannot be written, as on a card
    // whose last cluster is gone. The first save (before the limit) makes the card's backup.
    ASSERT_TRUE(writeFile(path(), validImage(100, 26)));
    SetupRecord record = loadAndEdit(M::Echo);
    ASSERT_EQ(SaveSetupRecord(record, path()), SetupSaveResult::Saved);
    const QByteArray saved = readFile(path());
    record.setByte(setup::kShockSensing, 3);

    struct sigaction ignore = {}, previous = {};
    ignore.sa_handler = SIG_IGN;
    ASSERT_EQ(sigaction(SIGXFSZ, &ignore, &previous), 0);
    rlimit oldLimit {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
    rlimit limit = oldLimit;
    limit.rlim_cur = 50;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
    const SetupSaveResult result = SaveSetupRecord(record, path());
    setrlimit(RLIMIT_FSIZE, &oldLimit);
    sigaction(SIGXFSZ, &previous, nullptr);

    EXPECT_EQ(result, SetupSaveResult::WriteFailed);
    EXPECT_FALSE(record.errorString().isEmpty());
    EXPECT_EQ(readFile(path()), saved);
    // No half-written temporary file is left beside it.
    EXPECT_EQ(QDir(m_dir.path() + QStringLiteral("/Setup")).entryList(QDir::Files), QStringList { QStringLiteral("setup.bin") });
}

TEST_F(SetupRecordSave, AFileChangedUnderTheEditorIsLeftAlone)
{
    struct Case
    {
        CameraModel model;
        QByteArray original;
        QByteArray replacement; // written after loading, as another card or the camera would
    };
    QByteArray otherEcho = validImage(100, 26);
    otherEcho[5] = 3;
    QByteArray otherAlpha = validImage(18);
    otherAlpha[9] = 1;
    const Case cases[] = {
        { M::Echo, validImage(100, 26), otherEcho },
        { M::Echo, validImage(100, 26), validImage(100, 26) + QByteArray(4, '\x01') },
        { M::Alpha, validImage(18), otherAlpha },
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(writeFile(path(), c.original));
        SetupRecord record = loadAndEdit(c.model);
        ASSERT_TRUE(writeFile(path(), c.replacement));
        const SetupSaveResult result = SaveSetupRecord(record, path());
        EXPECT_TRUE(isSaveFailure(result));
        EXPECT_EQ(result, SetupSaveResult::ChangedOnDisk);
        EXPECT_EQ(readFile(path()), c.replacement);
    }
}

TEST_F(SetupRecordSave, TheFirstWriteToACardKeepsThePreviousFileOnThePc)
{
    const QByteArray original = validImage(100, 26);
    ASSERT_TRUE(writeFile(path(), original));
    SetupRecord record = loadAndEdit(M::Echo);
    ASSERT_EQ(SaveSetupRecord(record, path()), SetupSaveResult::Saved);
    const QDir backups(m_backups.path());
    QStringList copies = backups.entryList(QDir::Files);
    ASSERT_EQ(copies.size(), 1);
    EXPECT_TRUE(copies.first().endsWith(QStringLiteral("-setup.bin")));
    EXPECT_EQ(readFile(backups.filePath(copies.first())), original);

    // A second save of the same card in this session makes no new copy ...
    record.setByte(setup::kShockSensing, 1);
    ASSERT_EQ(SaveSetupRecord(record, path()), SetupSaveResult::Saved);
    EXPECT_EQ(backups.entryList(QDir::Files).size(), 1);

    // ... but another card in the same place is copied before its first write.
    QByteArray other = validImage(100, 26);
    other[9] = 1;
    ASSERT_TRUE(writeFile(path(), other));
    SetupRecord second = loadAndEdit(M::Echo);
    second.setByte(setup::kShockSensing, 0);
    ASSERT_EQ(SaveSetupRecord(second, path()), SetupSaveResult::Saved);
    copies = backups.entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(copies.size(), 2);
    EXPECT_TRUE(std::any_of(copies.begin(), copies.end(),
        [&](const QString& name) { return readFile(backups.filePath(name)) == other; }));
}

TEST_F(SetupRecordSave, AFileThatReadsBackWrongIsAFailedSave)
{
    ASSERT_TRUE(writeFile(path(), validImage(100, 26)));
    SetupRecord record = loadAndEdit(M::Echo);
    // The card drops a byte of what was written (a failing card, a pulled card put back).
    setSetupSaveHookForTesting([](SetupSaveStage stage, const QString& target) {
        if (stage == SetupSaveStage::Replaced)
            writeFile(target, validImage(100, 26).left(99));
    });
    const SetupSaveResult result = SaveSetupRecord(record, path());
    setSetupSaveHookForTesting({});
    EXPECT_EQ(result, SetupSaveResult::VerifyFailed);
    EXPECT_TRUE(isSaveFailure(result));
}

TEST_F(SetupRecordSave, TheOldFileStaysWholeUntilTheNewOneIsComplete)
{
    const QByteArray original = validImage(100, 26);
    ASSERT_TRUE(writeFile(path(), original));
    SetupRecord record = loadAndEdit(M::Echo);
    // At the moment the new contents are complete and flushed, the card still holds the old file whole, and
    // the new one is complete beside it.
    QByteArray seenOld, seenNew;
    setSetupSaveHookForTesting([&](SetupSaveStage stage, const QString& temporary) {
        if (stage == SetupSaveStage::TemporaryWritten) {
            seenOld = readFile(path());
            seenNew = readFile(temporary);
        }
    });
    const SetupSaveResult result = SaveSetupRecord(record, path());
    setSetupSaveHookForTesting({});
    ASSERT_EQ(result, SetupSaveResult::Saved);
    EXPECT_EQ(seenOld, original);
    EXPECT_EQ(seenNew, record.image());
    EXPECT_EQ(readFile(path()), record.image());
    EXPECT_EQ(QDir(m_dir.path() + QStringLiteral("/Setup")).entryList(QDir::Files), QStringList { QStringLiteral("setup.bin") });
}

TEST_F(SetupRecordSave, NoBackupMeansNoWrite)
{
    const QByteArray original = validImage(98, 25);
    ASSERT_TRUE(writeFile(path(), original));
    SetupRecord record = loadAndEdit(M::Delta);
    // A file where the backup folder should be: no copy can be made.
    ASSERT_TRUE(writeFile(m_backups.path() + QStringLiteral("/blocked"), "x"));
    setupbackup::setFolder(m_backups.path() + QStringLiteral("/blocked/inside"));
    EXPECT_EQ(SaveSetupRecord(record, path()), SetupSaveResult::BackupFailed);
    EXPECT_EQ(readFile(path()), original);
}

TEST(SetupRecordSaveDevice, AWriteCutShortIsAFailure)
{
    QBuffer source;
    source.setData(validImage(100, 26));
    source.open(QIODevice::ReadOnly);
    SetupRecord record(M::Echo);
    ASSERT_TRUE(LoadSetupRecord(record, source, M::Echo, kFrance));

    for (qint64 limit : { 0, 1, 50, 99 }) {
        FailDevice device(QByteArray(100, '\0'), limit);
        ASSERT_TRUE(device.open(QIODevice::ReadWrite | QIODevice::Unbuffered));
        EXPECT_EQ(SaveSetupRecord(record, device), SetupSaveResult::WriteFailed) << limit;
    }
    FailDevice device(QByteArray(100, '\0'), 100);
    ASSERT_TRUE(device.open(QIODevice::ReadWrite | QIODevice::Unbuffered));
    EXPECT_EQ(SaveSetupRecord(record, device), SetupSaveResult::Saved);
    EXPECT_EQ(device.written(), record.image());
}

} // namespace
