#include "camera/SetupRecord.h"
#include "camera/TimeZoneTable.h"

#include "CameraFixtures.h"

#include <QBuffer>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

using namespace camera_test;

namespace {

using M = CameraModel;
constexpr int kFrance = 33;

int codeOf(CameraModel model)
{
    return cameraModelInfo(model).modelCode;
}

SetupRecord loadBytes(CameraModel model, const QByteArray& content, int country = kFrance)
{
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    SetupRecord record(model);
    EXPECT_TRUE(LoadSetupRecord(record, buffer, model, country));
    return record;
}

// One byte of one model: the value found in the file and the value normalising must leave.
struct NormaliseCase
{
    CameraModel model;
    int offset;
    int stored;
    int expected;
};

std::vector<NormaliseCase> normaliseCases()
{
    const M all[] = { M::Alpha, M::AlphaSp, M::Bravo, M::Charlie, M::Delta, M::Echo, M::Foxtrot };
    std::vector<NormaliseCase> cases;
    for (M m : all) {
        const bool mp4 = m == M::Delta || m == M::Echo;
        const bool fullHd = m == M::Alpha || m == M::AlphaSp || m == M::Bravo || m == M::Foxtrot;
        const bool fourStep = m == M::Alpha || m == M::AlphaSp || m == M::Foxtrot;
        cases.insert(cases.end(),
            {
                { m, 2, 1, 1 }, { m, 2, 2, 0 }, { m, 2, 255, 0 }, // frame rate
                { m, 5, 3, 3 }, { m, 5, 4, 2 }, { m, 5, 0, 0 }, // shock sensing
                { m, 6, 7, 2 }, { m, 6, 3, 2 }, { m, 6, 1, 1 }, // parking mode
                { m, 8, 2, 2 }, { m, 8, 3, 1 }, // parking shock
                { m, 9, 1, 1 }, { m, 9, 2, 0 }, // brightness
                { m, 13, 0, 0 }, { m, 13, 2, 1 }, // deletion method
                { m, 10, 200, 200 }, // reserved: carried
            });
        // Quality: FULL HD models keep 0-2 and reset to FULL HD; Charlie resets to HD; the MP4 models have
        // no FULL HD at all.
        if (fullHd)
            cases.insert(cases.end(), { { m, 7, 2, 2 }, { m, 7, 3, 0 } });
        else if (m == M::Charlie)
            cases.insert(cases.end(), { { m, 7, 2, 2 }, { m, 7, 3, 1 } });
        else
            cases.insert(cases.end(), { { m, 7, 2, 2 }, { m, 7, 0, 1 }, { m, 7, 3, 1 } });
        if (fourStep)
            cases.insert(cases.end(), { { m, 11, 3, 3 }, { m, 11, 4, 3 } });
        else
            cases.insert(cases.end(), { { m, 11, 2, 2 }, { m, 11, 3, 1 } });
        cases.insert(cases.end(), { { m, 12, 1, 1 }, { m, 12, 2, fullHd ? 1 : 0 } });
        if (mp4)
            cases.insert(cases.end(),
                { { m, 17, 9, 9 }, { m, 3, 200, 200 }, { m, 4, 200, 200 }, { m, 27, 1, 1 }, { m, 27, 2, 0 },
                    { m, 28, 5, 5 }, { m, 63, 5, 5 }, { m, 19, 9, 9 } });
        else
            cases.insert(cases.end(),
                { { m, 17, 0, 0 }, { m, 17, 2, 1 }, { m, 3, 90, 90 }, { m, 3, 91, 73 }, { m, 3, 255, 73 } });
        if (m == M::Charlie)
            cases.insert(cases.end(), { { m, 4, 0, 0 }, { m, 4, 2, 1 } });
        else if (!mp4)
            cases.push_back({ m, 4, 200, 200 });
        if (m == M::AlphaSp || m == M::Foxtrot)
            cases.insert(cases.end(), { { m, 19, 0, 0 }, { m, 19, 2, 1 }, { m, 20, 2, 2 }, { m, 20, 3, 1 } });
        if (m == M::Echo)
            cases.insert(cases.end(), { { m, 98, 0, 0 }, { m, 98, 2, 1 }, { m, 99, 2, 2 }, { m, 99, 3, 1 } });
        if (m == M::Delta)
            cases.push_back({ m, 97, 7, 7 }); // Delta ends at 97: no voice guidance
        if (m == M::Foxtrot)
            cases.insert(cases.end(), { { m, 29, 1, 1 }, { m, 29, 2, 0 }, { m, 21, 9, 9 } });
        if (m == M::Bravo || m == M::Charlie)
            cases.insert(cases.end(), { { m, 19, 9, 9 }, { m, 25, 99, 99 } });
    }
    return cases;
}

TEST(SetupRecordLoad, EveryEnumeratedByteIsKeptWhenValidAndResetWhenNot)
{
    for (const NormaliseCase& c : normaliseCases()) {
        SCOPED_TRACE(testing::Message() << CameraModelName(c.model).toStdString() << " byte " << c.offset << " stored "
                                        << c.stored);
        QByteArray content = validImage(SetupRecordLength(c.model), codeOf(c.model));
        // Charlie's Wide Mode would force the frame rate; keep HD in play unless quality is the subject.
        content[c.offset] = static_cast<char>(c.stored);
        const SetupRecord record = loadBytes(c.model, content);
        EXPECT_EQ(record.byte(c.offset), c.expected);
        EXPECT_EQ(record.loadedCopy(), record.image());
    }
}

TEST(SetupRecordLoad, AValidRecordLoadsUnchanged)
{
    for (CameraModel model : kAllCameraModels) {
        const QByteArray content = validImage(SetupRecordLength(model), codeOf(model));
        const SetupRecord record = loadBytes(model, content);
        EXPECT_TRUE(record.isLoaded());
        EXPECT_EQ(record.image(), content) << CameraModelName(model).toStdString();
    }
}

TEST(SetupRecordLoad, StorageRatiosThatDoNotAddUpBecomeFortyThirtyThirty)
{
    struct Case
    {
        int normal, event, parking;
        int expectNormal, expectEvent, expectParking;
    };
    const Case cases[] = {
        { 50, 50, 10, 40, 30, 30 },
        { 50, 50, 0, 50, 50, 0 },
        { 100, 0, 0, 100, 0, 0 },
        { 0, 0, 0, 40, 30, 30 },
        { 34, 33, 33, 34, 33, 33 },
        { 200, 0, 156, 40, 30, 30 }, // 356 wraps to 100 in a byte: must not pass
        { 99, 0, 0, 40, 30, 30 },
    };
    for (CameraModel model : kAllCameraModels) {
        for (const Case& c : cases) {
            QByteArray content = validImage(SetupRecordLength(model), codeOf(model));
            content[14] = static_cast<char>(c.normal);
            content[15] = static_cast<char>(c.event);
            content[16] = static_cast<char>(c.parking);
            const SetupRecord record = loadBytes(model, content);
            EXPECT_EQ(record.byte(14), c.expectNormal) << c.normal << "/" << c.event << "/" << c.parking;
            EXPECT_EQ(record.byte(15), c.expectEvent);
            EXPECT_EQ(record.byte(16), c.expectParking);
            // Repaired on load counts as the unchanged state.
            EXPECT_EQ(record.loadedCopy(), record.image());
        }
    }
}

TEST(SetupRecordLoad, AnUnknownTimeZoneBecomesTheCountryDefault)
{
    const std::pair<int, int> countries[] = { { 82, 76 }, { 61, 82 }, { 81, 77 }, { kFrance, 73 }, { 0, 73 } };
    for (auto [country, zone] : countries) {
        for (CameraModel model : { M::Alpha, M::AlphaSp, M::Bravo, M::Charlie, M::Foxtrot }) {
            QByteArray content = validImage(SetupRecordLength(model), codeOf(model));
            content[3] = 91;
            EXPECT_EQ(loadBytes(model, content, country).byte(3), zone) << country;
        }
        // Delta and Echo do not use byte 3 and carry it through.
        QByteArray echo = validImage(100, 26);
        echo[3] = 91;
        EXPECT_EQ(loadBytes(M::Echo, echo, country).byte(3), 91);
    }
}

TEST(SetupRecordLoad, CharlieWideModeForcesTheReducedFrameRateAfterTheResets)
{
    struct Case
    {
        int quality, frameRate;
        int expectQuality, expectFrameRate;
    };
    const Case cases[] = {
        { 0, 0, 0, 1 }, // Wide Mode
        { 0, 1, 0, 1 }, { 0, 9, 0, 1 }, // reset to 0 first, then forced
        { 1, 0, 1, 0 }, { 2, 0, 2, 0 }, { 5, 0, 1, 0 }, // reset to HD first: no longer Wide Mode
    };
    for (const Case& c : cases) {
        QByteArray content = validImage(26, 20);
        content[7] = static_cast<char>(c.quality);
        content[2] = static_cast<char>(c.frameRate);
        const SetupRecord record = loadBytes(M::Charlie, content);
        EXPECT_EQ(record.byte(7), c.expectQuality) << c.quality << "," << c.frameRate;
        EXPECT_EQ(record.byte(2), c.expectFrameRate) << c.quality << "," << c.frameRate;
        EXPECT_EQ(record.loadedCopy(), record.image());
    }
    // FULL HD on the other models keeps the full rate.
    QByteArray bravo = validImage(26, 15);
    bravo[7] = 0;
    EXPECT_EQ(loadBytes(M::Bravo, bravo).byte(2), 0);
}

TEST(SetupRecordLoad, FirmwareTextOnlyWhenLoaded)
{
    const SetupRecord delta = loadBytes(M::Delta, bytes(98, { { 0, 1 }, { 1, 12 }, { 18, 25 } }));
    EXPECT_EQ(delta.firmwareText(), QStringLiteral("KRV-DELTA FW Ver 1.12"));
    const SetupRecord echo = loadBytes(M::Echo, bytes(100, { { 0, 2 }, { 1, 5 }, { 18, 26 } }));
    EXPECT_EQ(echo.firmwareText(), QStringLiteral("KRV-ECHO WDR FW Ver 2.5"));
    EXPECT_TRUE(SetupRecord(M::Delta).firmwareText().isEmpty());
}

class SetupRecordFile : public ::testing::Test
{
protected:
    QString path() const { return m_dir.path() + QStringLiteral("/Setup/setup.bin"); }
    QTemporaryDir m_dir;
};

TEST_F(SetupRecordFile, AShortFileLoadsWithAZeroTailNeverStaleBytes)
{
    // An earlier load of a full record must leave nothing behind when a short file follows.
    SetupRecord record(M::Echo);
    ASSERT_TRUE(writeFile(path(), QByteArray(100, '\x01')));
    ASSERT_TRUE(LoadSetupRecord(record, path(), M::Echo, kFrance));
    ASSERT_EQ(record.byte(90), 1);

    ASSERT_TRUE(writeFile(path(), validImage(40, 26)));
    ASSERT_TRUE(LoadSetupRecord(record, path(), M::Echo, kFrance));
    EXPECT_TRUE(record.isLoaded());
    EXPECT_EQ(record.loadedFileSize(), 40);
    EXPECT_EQ(record.length(), 100);
    EXPECT_EQ(record.image().mid(40), QByteArray(60, '\0'));
    EXPECT_EQ(record.image().left(40), validImage(40, 26));
}

TEST_F(SetupRecordFile, AnEmptyFileLoadsAsZerosNormalised)
{
    ASSERT_TRUE(writeFile(path(), QByteArray()));
    SetupRecord record(M::Alpha);
    ASSERT_TRUE(LoadSetupRecord(record, path(), M::Alpha, 82));
    EXPECT_EQ(record.loadedFileSize(), 0);
    QByteArray expected = bytes(18, { { 14, 40 }, { 15, 30 }, { 16, 30 } });
    EXPECT_EQ(record.image(), expected);
}

TEST_F(SetupRecordFile, ALongerFileLoadsItsRecordAndKeepsItsSize)
{
    QByteArray content = validImage(30, 11);
    content.append(QByteArray(10, '\x7f'));
    ASSERT_TRUE(writeFile(path(), content));
    SetupRecord record(M::Foxtrot);
    ASSERT_TRUE(LoadSetupRecord(record, path(), M::Foxtrot, kFrance));
    EXPECT_EQ(record.image(), validImage(30, 11));
    EXPECT_EQ(record.loadedFileSize(), 40);
}

TEST_F(SetupRecordFile, AMissingFileLeavesTheDisplayDefaults)
{
    for (CameraModel model : kAllCameraModels) {
        SCOPED_TRACE(CameraModelName(model).toStdString());
        SetupRecord record(model);
        EXPECT_FALSE(LoadSetupRecord(record, path(), model, 81));
        EXPECT_FALSE(record.isLoaded());
        EXPECT_FALSE(record.errorString().isEmpty());
        EXPECT_EQ(record.loadedFileSize(), 0);
        EXPECT_TRUE(record.firmwareText().isEmpty());
        EXPECT_EQ(record.length(), SetupRecordLength(model));
        EXPECT_EQ(record.byte(14), 40);
        EXPECT_EQ(record.byte(15), 30);
        EXPECT_EQ(record.byte(16), 30);
        EXPECT_EQ(record.byte(10), 0);
        if (hasTimeZone(model)) {
            EXPECT_EQ(record.byte(3), 77);
        }
        if (const auto voice = voiceGuidanceOffset(model)) {
            EXPECT_EQ(record.byte(*voice), 1); // OFF
            EXPECT_EQ(record.byte(*voice + 1), 1); // Middle
        }
        if (hasNetworkFields(model)) {
            EXPECT_TRUE(record.textField(setup::kWifiPassword).isEmpty());
            EXPECT_TRUE(record.textField(setup::kFtpId).isEmpty());
        }
        // The defaults are a stable state of their own.
        SetupRecord reloaded = loadBytes(model, record.image(), 81);
        EXPECT_EQ(reloaded.image(), record.image());
    }
    // A directory where the file should be is not a settings file either.
    QDir().mkpath(path());
    SetupRecord record(M::Delta);
    EXPECT_FALSE(LoadSetupRecord(record, path(), M::Delta, 81));
}

TEST_F(SetupRecordFile, AReadOnlyFileStillLoads)
{
    ASSERT_TRUE(writeFile(path(), validImage(26, 15)));
    QFile::setPermissions(path(), QFileDevice::ReadOwner);
    SetupRecord record(M::Bravo);
    EXPECT_TRUE(LoadSetupRecord(record, path(), M::Bravo, kFrance));
}

TEST(SetupRecordDevice, AFailedReadIsNotALoad)
{
    FailDevice device(validImage(100, 26), 0, /*failReads=*/true);
    ASSERT_TRUE(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    SetupRecord record(M::Echo);
    EXPECT_FALSE(LoadSetupRecord(record, device, M::Echo, kFrance));
    EXPECT_FALSE(record.isLoaded());
    EXPECT_EQ(SaveSetupRecord(record, device), SetupSaveResult::NotLoaded);
}

TEST(SetupRecordDefaults, MakeDefaultSetupRecordIsAValidRecordOfTheModel)
{
    for (CameraModel model : kAllCameraModels) {
        SCOPED_TRACE(CameraModelName(model).toStdString());
        const SetupRecord record = MakeDefaultSetupRecord(model, 82, 1, 3);
        EXPECT_EQ(record.length(), SetupRecordLength(model));
        EXPECT_EQ(record.byte(0), 1);
        EXPECT_EQ(record.byte(1), 3);
        EXPECT_EQ(record.byte(2), 0);
        EXPECT_EQ(record.byte(5), 2);
        EXPECT_EQ(record.byte(6), 2);
        EXPECT_EQ(record.byte(13), 1);
        if (model != M::Alpha) {
            EXPECT_EQ(record.byte(18), codeOf(model));
            // A card carrying it identifies as the model.
            EXPECT_EQ(CameraModelFromCode(record.byte(18)), model);
        }
        if (hasTimeZone(model)) {
            EXPECT_EQ(record.byte(3), 76);
        }
        if (const auto clock = clockBlockLayout(model)) {
            EXPECT_EQ(record.byte(clock->flagOffset), 0);
        }
        // Loading it back changes nothing.
        EXPECT_EQ(loadBytes(model, record.image(), 82).image(), record.image());
    }
}

} // namespace
