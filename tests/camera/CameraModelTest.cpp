#include "camera/CameraModel.h"
#include "camera/CameraIdentification.h"
#include "camera/TimeZoneTable.h"

#include "CameraFixtures.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace camera_test;

namespace {

struct ModelRow
{
    CameraModel model;
    int index;
    const char* name;
    const char* registryName;
    int length;
    int code;
    const char* firmwareAt1_12;
    bool checksSize;
    bool mp4;
};

const ModelRow kModelRows[] = {
    { CameraModel::Alpha, 0, "Alpha", "KRV-ALPHA", 18, -1, "KRV-ALPHA FW Ver 1.12", true, false },
    { CameraModel::AlphaSp, 1, "AlphaSp", "KRV-ALPHA_SP", 21, 10, "KRV-ALPHA SP FW Ver 1.12", true, false },
    { CameraModel::Bravo, 2, "Bravo", "KRV-BRAVO", 26, 15, "KRV-BRAVO FW Ver 1.12", true, false },
    { CameraModel::Charlie, 3, "Charlie", "KRV-CHARLIE", 26, 20, "KRV-CHARLIE FW Ver 1.12", true, false },
    { CameraModel::Delta, 4, "Delta", "KRV-DELTA", 98, 25, "KRV-DELTA FW Ver 1.12", false, true },
    { CameraModel::Echo, 5, "Echo", "KRV-ECHO_WDR", 100, 26, "KRV-ECHO WDR FW Ver 1.12", false, true },
    { CameraModel::Foxtrot, 6, "Foxtrot", "KRV-FOXTROT", 30, 11, "KRV-FOXTROT FW Ver 1.12", true, false },
};

TEST(CameraModelTable, EveryModelHasItsNamesLengthCodeAndFirmwareText)
{
    for (const ModelRow& row : kModelRows) {
        SCOPED_TRACE(row.name);
        const CameraModelInfo& info = cameraModelInfo(row.model);
        EXPECT_EQ(cameraModelIndex(row.model), row.index);
        EXPECT_EQ(cameraModelFromIndex(row.index), row.model);
        EXPECT_EQ(CameraModelName(row.model), QLatin1String(row.name));
        EXPECT_EQ(CameraModelRegistryName(row.model), QLatin1String(row.registryName));
        EXPECT_EQ(SetupRecordLength(row.model), row.length);
        EXPECT_EQ(info.modelCode, row.code);
        EXPECT_EQ(FirmwareText(row.model, 1, 12), QLatin1String(row.firmwareAt1_12));
        EXPECT_EQ(info.checksSizeOnSave, row.checksSize);
        EXPECT_EQ(info.recordsMp4, row.mp4);
        if (row.code >= 0) {
            EXPECT_EQ(CameraModelFromCode(row.code), row.model);
        }
        EXPECT_EQ(CameraModelFromName(QLatin1String(row.name)), row.model);
        EXPECT_EQ(CameraModelFromName(QString::fromLatin1(row.name).toUpper()), row.model);
        EXPECT_EQ(CameraModelFromRegistryName(QLatin1String(row.registryName)), row.model);
    }
    EXPECT_FALSE(cameraModelFromIndex(7).has_value());
    EXPECT_FALSE(cameraModelFromIndex(-1).has_value());
}

TEST(CameraModelTable, CodesNoModelUsesMeanAlpha)
{
    for (int code : { 0, 1, 9, 12, 16, 21, 24, 27, 255, -5 })
        EXPECT_EQ(CameraModelFromCode(code), CameraModel::Alpha) << code;
}

TEST(CameraModelTable, RegistryNamesCompareExactly)
{
    EXPECT_FALSE(CameraModelFromRegistryName(QStringLiteral("KRV-DELTA ")).has_value());
    EXPECT_FALSE(CameraModelFromRegistryName(QStringLiteral("krv-delta")).has_value());
    EXPECT_FALSE(CameraModelFromName(QStringLiteral("Zulu")).has_value());
    EXPECT_FALSE(CameraModelFromName(QString()).has_value());
}

TEST(TimeZoneTable, NinetyOneNamesAndTheCountryDefaults)
{
    EXPECT_EQ(TimeZoneName(0), QStringLiteral("(GMT-12:00) International Date Line West"));
    EXPECT_EQ(TimeZoneName(4), QStringLiteral("(GMT-08:00) Pacific Time (US && Canada)"));
    EXPECT_EQ(TimeZoneName(73), QStringLiteral("(GMT+08:00) Kuala Lumpur, Singapore"));
    EXPECT_EQ(TimeZoneName(76), QStringLiteral("(GMT+09:00) Seoul"));
    EXPECT_EQ(TimeZoneName(77), QStringLiteral("(GMT+09:00) Osaka, Sapporo, Tokyo"));
    EXPECT_EQ(TimeZoneName(82), QStringLiteral("(GMT+10:00) Canberra, Melbourne, Sydney"));
    EXPECT_EQ(TimeZoneName(90), QStringLiteral("(GMT+13:00) Nuku'alofa"));
    EXPECT_TRUE(TimeZoneName(91).isEmpty());
    EXPECT_TRUE(TimeZoneName(-1).isEmpty());
    for (int i = 0; i < kTimeZoneCount; ++i)
        EXPECT_TRUE(TimeZoneName(i).startsWith(QLatin1String("(GMT"))) << i;

    const std::pair<int, int> defaults[] = { { 82, 76 }, { 61, 82 }, { 81, 77 }, { 33, 73 }, { 1, 73 }, { 0, 73 } };
    for (auto [country, zone] : defaults)
        EXPECT_EQ(DefaultTimeZoneIndex(country), zone) << country;
}

class Identification : public ::testing::Test
{
protected:
    QString root() const { return m_dir.path() + QStringLiteral("/"); }
    QString setupPath() const { return m_dir.path() + QStringLiteral("/Setup/setup.bin"); }
    QTemporaryDir m_dir;
};

TEST_F(Identification, ByteEighteenNamesTheModel)
{
    struct Case
    {
        QByteArray content;
        CameraModel expected;
    };
    const Case cases[] = {
        { bytes(18), CameraModel::Alpha },
        { bytes(18, { { 17, 26 } }), CameraModel::Alpha },
        { bytes(26, { { 18, 20 } }), CameraModel::Charlie },
        { bytes(19, { { 18, 11 } }), CameraModel::Foxtrot },
        { bytes(30, { { 18, 11 } }), CameraModel::Foxtrot },
        { bytes(26, { { 18, 12 } }), CameraModel::Alpha },
        { bytes(21, { { 18, 10 } }), CameraModel::AlphaSp },
        { bytes(26, { { 18, 15 } }), CameraModel::Bravo },
        { bytes(98, { { 18, 25 } }), CameraModel::Delta },
        { QByteArray(100, '\xff').replace(18, 1, QByteArray(1, 26)), CameraModel::Echo },
        { bytes(0), CameraModel::Alpha },
        { bytes(5), CameraModel::Alpha },
        // A file of another model's length still identifies by its code.
        { bytes(500, { { 18, 25 } }), CameraModel::Delta },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.content.size());
        ASSERT_TRUE(writeFile(setupPath(), c.content));
        EXPECT_EQ(IdentifyCameraModel(root()), c.expected);
        // The folder may be given without its trailing separator.
        EXPECT_EQ(IdentifyCameraModel(m_dir.path()), c.expected);
    }
}

TEST_F(Identification, NoSettingsFileMeansNoModelNotAlpha)
{
    EXPECT_FALSE(IdentifyCameraModel(root()).has_value());
    QDir(m_dir.path()).mkpath(QStringLiteral("Setup"));
    EXPECT_FALSE(IdentifyCameraModel(root()).has_value());
    // A folder where the file should be cannot be opened as the file.
    QDir(m_dir.path()).mkpath(QStringLiteral("Setup/setup.bin"));
    EXPECT_FALSE(IdentifyCameraModel(root()).has_value());
    EXPECT_FALSE(IdentifyCameraModel(m_dir.path() + QStringLiteral("/does-not-exist")).has_value());
    // The file in the root itself is not the settings file.
    ASSERT_TRUE(writeFile(m_dir.path() + QStringLiteral("/other/setup.bin"), bytes(26, { { 18, 20 } })));
    EXPECT_FALSE(IdentifyCameraModel(m_dir.path() + QStringLiteral("/other")).has_value());
}

TEST_F(Identification, NamesInOtherLetterCaseAreFoundOnCopiedCards)
{
    ASSERT_TRUE(writeFile(m_dir.path() + QStringLiteral("/SETUP/SETUP.BIN"), bytes(100, { { 18, 26 } })));
    EXPECT_EQ(IdentifyCameraModel(root()), CameraModel::Echo);
    // The exact spelling wins when both exist.
    ASSERT_TRUE(writeFile(setupPath(), bytes(26, { { 18, 20 } })));
    EXPECT_EQ(IdentifyCameraModel(root()), CameraModel::Charlie);
    EXPECT_EQ(SetupFilePath(root()), setupPath());
}

TEST_F(Identification, AReadOnlyCardIsStillIdentified)
{
    ASSERT_TRUE(writeFile(setupPath(), bytes(26, { { 18, 15 } })));
    QFile::setPermissions(setupPath(), QFileDevice::ReadOwner);
    EXPECT_EQ(IdentifyCameraModel(root()), CameraModel::Bravo);
}

TEST(IdentificationOfDevice, AFailedReadCountsAsAlpha)
{
    FailDevice device(bytes(100, { { 18, 26 } }), 0, /*failReads=*/true);
    ASSERT_TRUE(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    EXPECT_EQ(IdentifyCameraModelOfDevice(device), CameraModel::Alpha);
}

} // namespace
