#include "camera/SetupRecord.h"

#include "CameraFixtures.h"

#include <QBuffer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

    QTemporaryDir m_dir;
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

TEST_F(SetupRecordSave, AWriteThatFailsIsReportedOnAFile)
{
    // /dev/full opens like an existing file and refuses every byte written to it.
    if (!QFileInfo::exists(QStringLiteral("/dev/full")))
        GTEST_SKIP() << "no /dev/full";
    ASSERT_TRUE(writeFile(path(), validImage(98, 25)));
    SetupRecord record = loadAndEdit(M::Delta);
    EXPECT_EQ(SaveSetupRecord(record, QStringLiteral("/dev/full")), SetupSaveResult::WriteFailed);
    EXPECT_FALSE(record.errorString().isEmpty());
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
