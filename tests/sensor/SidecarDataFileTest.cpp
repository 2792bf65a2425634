#include "sensor/SidecarDataFile.h"
#include "sensor/DatBytes.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <clocale>
#include <gtest/gtest.h>

using namespace datbytes;

namespace {

TEST(ReadLength32, IsLittleEndianUnsigned)
{
    struct Case
    {
        unsigned char bytes[4];
        uint32_t value;
    };
    const Case cases[] = {
        { { 0x10, 0x27, 0x00, 0x00 }, 10000u },
        { { 0x62, 0x02, 0x00, 0x00 }, 610u },
        { { 0x00, 0x00, 0x00, 0x80 }, 2147483648u },
        { { 0xff, 0xff, 0xff, 0xff }, 4294967295u },
        { { 0x01, 0x02, 0x03, 0x04 }, 0x04030201u },
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadLength32(c.bytes), c.value);
}

TEST(Conversions, CoordinatesSpeedsAndMapTexts)
{
    EXPECT_EQ(FormatMapCoordinate(NmeaFieldToDegrees(37331234)), QStringLiteral("37.552057"));
    EXPECT_EQ(FormatMapCoordinate(NmeaFieldToDegrees(127015678)), QStringLiteral("127.026130"));
    EXPECT_EQ(FormatMapCoordinate(NmeaFieldToDegrees(-37331234)), QStringLiteral("-37.552057"));
    EXPECT_EQ(FormatMapCoordinate(0.0), QStringLiteral("0.000000"));

    EXPECT_EQ(KnotsToKmh(162), 300);
    EXPECT_EQ(KnotsToKmh(163), 301);
    EXPECT_EQ(KnotsToKmh(0), 0);
    EXPECT_EQ(KnotsToKmh(0xffffffffu), std::numeric_limits<int>::max());

    EXPECT_EQ(KmhToMph(100), 62);
    EXPECT_EQ(KmhToMph(1), 0);
    EXPECT_EQ(DisplayedSpeed(100, 61, true), 62);
    EXPECT_EQ(DisplayedSpeed(100, 61, false), 100);
    EXPECT_EQ(DisplayedSpeed(100, 82, true), 100);
    EXPECT_EQ(DisplayedSpeed(100, 81, true), 100);
}

TEST(Conversions, MapTextsKeepTheDotInACommaLocale)
{
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
        GTEST_SKIP() << "de_DE.UTF-8 is not installed";
    EXPECT_EQ(FormatMapCoordinate(127.02613), QStringLiteral("127.026130"));
    std::setlocale(LC_NUMERIC, saved.c_str());
}

struct ParkingCase
{
    const char* name;
    QByteArray bytes;
    int expected;
};

class ReadParkingTypeTest : public ::testing::TestWithParam<ParkingCase>
{
};

TEST_P(ReadParkingTypeTest, AnswersFromTheTrailingByte)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pmr_20120101_123456.dat"));
    ASSERT_TRUE(writeFile(path, GetParam().bytes));
    EXPECT_EQ(ReadParkingType(path), GetParam().expected) << GetParam().name;
    QByteArray bytes = GetParam().bytes;
    QBuffer device(&bytes);
    ASSERT_TRUE(device.open(QIODevice::ReadOnly));
    EXPECT_EQ(ReadParkingType(device), GetParam().expected) << GetParam().name << " (device)";
}

const QByteArray kSensors = sensorRecord(10) + sensorRecord(-10) + QByteArray(7, 'x');
const QByteArray kGps = gpsRecord(1, 37331234, 127015678, 20);

QByteArray withoutLast(QByteArray bytes, int n)
{
    bytes.chop(n);
    return bytes;
}

QByteArray lyingSettingsLength()
{
    QByteArray bytes = dataFile(kSensors, kGps, 1);
    const qsizetype lengthAt = 8 + kSensors.size() + 8 + kGps.size() + 5;
    bytes.replace(lengthAt, 4, u32(0xfffffff0u));
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(Files, ReadParkingTypeTest,
    ::testing::Values(ParkingCase { "byte 1", dataFile(kSensors, kGps, 1), 1 },
        ParkingCase { "byte 2", dataFile(kSensors, kGps, 2), 0 },
        ParkingCase { "byte 0", dataFile(kSensors, kGps, 0), 2 },
        ParkingCase { "byte 7", dataFile(kSensors, kGps, 7), 2 },
        ParkingCase { "empty blocks", dataFile({}, {}, 1, {}), 1 },
        ParkingCase { "long settings block", dataFile(kSensors, kGps, 1, QByteArray(100, '\x01')), 1 },
        ParkingCase { "file ends before the byte", withoutLast(dataFile(kSensors, kGps, 1), 1), 2 },
        ParkingCase { "settings length runs past the end", lyingSettingsLength(), 2 },
        ParkingCase { "no settings tag", block("SENS", kSensors) + block("GPSI", kGps), 2 },
        ParkingCase { "wrong first tag", QByteArray("SENZ") + dataFile(kSensors, kGps, 1).mid(4), 2 },
        ParkingCase { "empty file", QByteArray(), 2 }));

TEST(ReadParkingType, MissingFileAnswersOther)
{
    EXPECT_EQ(ReadParkingType(QStringLiteral("/nonexistent/pmr_20120101_123456.dat")), 2);
}

// Counts the bytes handed out, to show that the reader seeks instead of reading the blocks.
class CountingBuffer : public QBuffer
{
public:
    using QBuffer::QBuffer;
    qint64 bytesRead = 0;

protected:
    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 n = QBuffer::readData(data, maxSize);
        if (n > 0)
            bytesRead += n;
        return n;
    }
};

TEST(ReadParkingType, ReadsOnlyTheFieldsOnTheWay)
{
    QByteArray sensors;
    for (int i = 0; i < 50000; ++i) // a megabyte of samples
        sensors += sensorRecord(i);
    QByteArray bytes = dataFile(sensors, kGps, 1);
    CountingBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    EXPECT_EQ(ReadParkingType(buffer), 1);
    EXPECT_LE(buffer.bytesRead, 64);
}

} // namespace
