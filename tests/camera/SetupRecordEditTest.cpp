#include "camera/AnsiCodePage.h"
#include "camera/SetupRecord.h"

#include "CameraFixtures.h"

#include <QBuffer>
#include <QDateTime>
#include <gtest/gtest.h>

using namespace camera_test;

namespace {

using M = CameraModel;

SetupRecord loadBytes(CameraModel model, const QByteArray& content)
{
    QBuffer buffer;
    buffer.setData(content);
    buffer.open(QIODevice::ReadOnly);
    SetupRecord record(model);
    EXPECT_TRUE(LoadSetupRecord(record, buffer, model, 82));
    return record;
}

QByteArray withText(QByteArray image, int offset, const QByteArray& text)
{
    image.replace(offset, text.size(), text);
    return image;
}

TEST(SetupRecordText, FieldsHoldSixteenCharactersAndANul)
{
    SetupRecord record = loadBytes(M::Echo, validImage(100, 26));
    QByteArray before = record.image();
    record.setTextField(setup::kFtpId, QStringLiteral("abcdefghijklmnopqrstuvwxyz"));
    EXPECT_EQ(record.textField(setup::kFtpId), QStringLiteral("abcdefghijklmnop"));
    EXPECT_EQ(record.byte(setup::kFtpId + 16), 0);
    // The neighbouring field is untouched.
    EXPECT_EQ(record.image().mid(setup::kFtpPassword), before.mid(setup::kFtpPassword));

    // A shorter text leaves zeros behind it, not the rest of the longer one.
    record.setTextField(setup::kFtpId, QStringLiteral("short"));
    EXPECT_EQ(record.image().mid(setup::kFtpId, 17), QByteArray("short\0\0\0\0\0\0\0\0\0\0\0\0", 17));

    // Single-byte code page: what it lacks becomes "?".
    record.setTextField(setup::kFtpId, QStringLiteral("caf\u00e9\u4e2d"));
    EXPECT_EQ(record.image().mid(setup::kFtpId, 5), QByteArray("caf\xe9?", 5));
    EXPECT_EQ(record.textField(setup::kFtpId), QStringLiteral("caf\u00e9?"));
}

TEST(SetupRecordText, AFieldWithoutItsNulIsReadOnlyToItsEnd)
{
    QByteArray image = validImage(100, 26);
    image = withText(image, setup::kWifiName, QByteArray(17, 'N'));
    image = withText(image, setup::kWifiPassword, "0123456789");
    const SetupRecord record = loadBytes(M::Echo, image);
    EXPECT_EQ(record.textField(setup::kWifiName), QString(17, QLatin1Char('N')));
    EXPECT_EQ(record.textField(setup::kWifiPassword), QStringLiteral("0123456789"));
    // Outside the record there is no field.
    EXPECT_TRUE(record.textField(90).isEmpty());
}

TEST(SetupRecordFlags, WifiPasswordFlagRaisedOnlyOnAChange)
{
    const QByteArray image = withText(validImage(98, 25), setup::kWifiPassword, "1111111111");
    struct Case
    {
        const char* text;
        int expectedFlag;
    };
    const Case cases[] = { { "1111111111", 0 }, { "2222222222", 1 }, { "111111111", 1 }, { "", 1 } };
    for (const Case& c : cases) {
        SetupRecord record = loadBytes(M::Delta, image);
        ASSERT_TRUE(record.setWifiPassword(QLatin1String(c.text)));
        EXPECT_EQ(record.byte(setup::kWifiChanged), c.expectedFlag) << c.text;
        EXPECT_EQ(record.byte(setup::kFtpChanged), 0);
    }
    // Bytes after the NUL do not make a change: the camera reads the text only.
    QByteArray junk = image;
    junk[setup::kWifiPassword + 12] = 'x';
    SetupRecord record = loadBytes(M::Delta, junk);
    record.setWifiPassword(QStringLiteral("1111111111"));
    EXPECT_EQ(record.byte(setup::kWifiChanged), 0);
}

TEST(SetupRecordFlags, AFlagReadFromTheFileIsNeverCleared)
{
    QByteArray image = withText(validImage(100, 26), setup::kWifiPassword, "1111111111");
    image[setup::kWifiChanged] = 1;
    image[setup::kFtpChanged] = 1;
    image[19] = 1; // a clock request the camera has not yet taken
    SetupRecord record = loadBytes(M::Echo, image);
    record.setWifiPassword(QStringLiteral("1111111111"));
    EXPECT_EQ(record.byte(setup::kWifiChanged), 1);
    EXPECT_EQ(record.byte(setup::kFtpChanged), 1);
    EXPECT_EQ(record.byte(19), 1);
}

TEST(SetupRecordFlags, FtpAccountFlagOnlyWhileFtpIsOn)
{
    QByteArray image = withText(validImage(100, 26), setup::kFtpId, "account01");
    image = withText(image, setup::kFtpPassword, "secret001");

    struct Case
    {
        int ftp;
        const char* id;
        const char* password;
        bool applied;
        int expectedFlag;
        const char* expectedId;
    };
    const Case cases[] = {
        { 1, "account01", "secret001", true, 0, "account01" },
        { 1, "account02", "secret001", true, 1, "account02" },
        { 1, "account01", "secret002", true, 1, "account01" },
        { 0, "account02", "secret002", false, 0, "account01" },
    };
    for (const Case& c : cases) {
        QByteArray content = image;
        content[setup::kFtpService] = static_cast<char>(c.ftp);
        SetupRecord record = loadBytes(M::Echo, content);
        EXPECT_EQ(record.setFtpAccount(QLatin1String(c.id), QLatin1String(c.password)), c.applied);
        EXPECT_EQ(record.byte(setup::kFtpChanged), c.expectedFlag) << c.id << " " << c.password << " " << c.ftp;
        EXPECT_EQ(record.textField(setup::kFtpId), QLatin1String(c.expectedId));
        EXPECT_EQ(record.byte(setup::kWifiChanged), 0);
    }
}

TEST(SetupRecordFlags, OnlyDeltaAndEchoHaveNetworkFields)
{
    for (CameraModel model : kAllCameraModels) {
        SetupRecord record = loadBytes(model, validImage(SetupRecordLength(model), cameraModelInfo(model).modelCode));
        record.setByte(setup::kFtpService, 1);
        const QByteArray before = record.image();
        const bool network = model == M::Delta || model == M::Echo;
        EXPECT_EQ(record.setWifiPassword(QStringLiteral("0123456789")), network);
        EXPECT_EQ(record.setFtpAccount(QStringLiteral("account01"), QStringLiteral("secret001")), network);
        if (!network) {
            EXPECT_EQ(record.image(), before) << CameraModelName(model).toStdString();
        }
    }
}

TEST(SetupRecordClock, EachModelWritesItsOwnBlock)
{
    const QDateTime when(QDate(2013, 5, 9), QTime(8, 7, 6));
    struct Case
    {
        CameraModel model;
        bool hasClock;
        QByteArray block; // from the flag byte on
        int at;
    };
    const Case cases[] = {
        { M::Alpha, false, {}, 0 },
        { M::AlphaSp, false, {}, 0 },
        { M::Bravo, true, QByteArray("\x01\xdd\x07\x05\x09\x08\x07", 7), 19 },
        { M::Charlie, true, QByteArray("\x01\xdd\x07\x05\x09\x08\x07", 7), 19 },
        { M::Delta, true, QByteArray("\x01\xdd\x07\x05\x09\x08\x07\x06", 8), 19 },
        { M::Echo, true, QByteArray("\x01\xdd\x07\x05\x09\x08\x07\x06", 8), 19 },
        { M::Foxtrot, true, QByteArray("\x01\xdd\x07\x05\x09\x08\x07\x06", 8), 21 },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(CameraModelName(c.model).toStdString());
        SetupRecord record
            = loadBytes(c.model, validImage(SetupRecordLength(c.model), cameraModelInfo(c.model).modelCode));
        const QByteArray before = record.image();
        EXPECT_EQ(record.setCameraClock(when), c.hasClock);
        if (!c.hasClock) {
            EXPECT_EQ(record.image(), before);
            continue;
        }
        EXPECT_EQ(record.image().mid(c.at, c.block.size()), c.block);
        // Nothing outside the block moves.
        EXPECT_EQ(record.image().left(c.at), before.left(c.at));
        EXPECT_EQ(record.image().mid(c.at + c.block.size()), before.mid(c.at + c.block.size()));
    }
    // Foxtrot's recording volume right after the block stays.
    SetupRecord foxtrot = loadBytes(M::Foxtrot, validImage(30, 11));
    foxtrot.setByte(setup::kRecordingVolume, 1);
    foxtrot.setCameraClock(when);
    EXPECT_EQ(foxtrot.byte(setup::kRecordingVolume), 1);
    // An invalid time is refused.
    SetupRecord echo = loadBytes(M::Echo, validImage(100, 26));
    EXPECT_FALSE(echo.setCameraClock(QDateTime()));
    EXPECT_EQ(echo.byte(19), 0);
}

} // namespace

namespace {

TEST(SetupRecordCodePage, TheLocaleNamesTheCodePage)
{
    EXPECT_EQ(ansicodepage::forLocale(QLocale(QLocale::Korean, QLocale::SouthKorea)), QStringLiteral("windows-949"));
    EXPECT_EQ(ansicodepage::forLocale(QLocale(QLocale::Japanese, QLocale::Japan)), QStringLiteral("windows-31j"));
    EXPECT_EQ(ansicodepage::forLocale(QLocale(QLocale::French, QLocale::France)), QStringLiteral("windows-1252"));
    EXPECT_EQ(ansicodepage::forLocale(QLocale(QLocale::English, QLocale::Australia)), QStringLiteral("windows-1252"));
    EXPECT_EQ(ansicodepage::forLocale(QLocale(QLocale::Russian, QLocale::Russia)), QStringLiteral("windows-1251"));
}

TEST(SetupRecordCodePage, AKoreanNetworkNameReadsAsTheCameraWroteIt)
{
    // "카메라" in CP949, and "テスト" in Shift-JIS, as a Korean or Japanese camera writes its network name.
    const QByteArray korean = QByteArray::fromHex("C4ABB8DEB6F3");
    const QByteArray japanese = QByteArray::fromHex("836583588367");
    QByteArray image = validImage(100, 26);
    image.replace(setup::kWifiName, korean.size(), korean);
    image.replace(setup::kFtpId, japanese.size(), japanese);

    SetupRecord record = loadBytes(M::Echo, image);
    record.setCodePage(QStringLiteral("windows-949"));
    EXPECT_EQ(record.textField(setup::kWifiName), QStringLiteral("카메라"));
    record.setCodePage(QStringLiteral("windows-31j"));
    EXPECT_EQ(record.textField(setup::kFtpId), QStringLiteral("テスト"));
}

TEST(SetupRecordCodePage, EditedTextIsEncodedInTheCodePageOnCharacterBoundaries)
{
    SetupRecord record = loadBytes(M::Echo, validImage(100, 26));
    record.setCodePage(QStringLiteral("windows-949"));
    // Nine Hangul syllables take 18 bytes: only eight fit before the NUL.
    record.setTextField(setup::kFtpId, QStringLiteral("가나다라마바사아자"));
    EXPECT_EQ(record.textField(setup::kFtpId), QStringLiteral("가나다라마바사아"));
    EXPECT_EQ(record.byte(setup::kFtpId + 16), 0);
    // "A" + eight syllables = 17 bytes: the last syllable would be cut in half, so it is left out.
    record.setTextField(setup::kFtpId, QStringLiteral("A가나다라마바사아"));
    EXPECT_EQ(record.image().mid(setup::kFtpId, 17).indexOf('\0'), 15);
    // A character the code page lacks is written as "?".
    record.setTextField(setup::kFtpPassword, QStringLiteral("a\U0001F600b"));
    EXPECT_EQ(record.image().mid(setup::kFtpPassword, 4), QByteArray("a?b\0", 4));
}

TEST(SetupRecordCodePage, AnUneditedFieldKeepsItsBytes)
{
    // Bytes that do not decode in the PC's code page (a Korean camera's name on a Western PC).
    const QByteArray raw = QByteArray::fromHex("C4ABB8DEB6F381");
    QByteArray image = validImage(100, 26);
    image.replace(setup::kWifiPassword, raw.size(), raw);
    SetupRecord record = loadBytes(M::Echo, image);
    record.setCodePage(QStringLiteral("windows-1252"));
    const QString shown = record.textField(setup::kWifiPassword);
    ASSERT_TRUE(record.setWifiPassword(shown));
    EXPECT_EQ(record.image(), image);
    EXPECT_EQ(record.byte(setup::kWifiChanged), 0);
}

} // namespace
