#include "sensor/SensorDataTables.h"
#include "sensor/DatBytes.h"

#include <QBuffer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace datbytes;

namespace {

QByteArray sensors(std::initializer_list<int32_t> xs)
{
    QByteArray body;
    for (int32_t x : xs)
        body += sensorRecord(x, x / 2, 1024);
    return body;
}

QByteArray gpsSeconds(int count)
{
    QByteArray body;
    for (int k = 0; k < count; ++k)
        body += gpsRecord(1, 37331234 + k, 127015678, static_cast<uint32_t>(k));
    return body;
}

bool loadBytes(SensorDataTables& tables, QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return tables.load(buffer);
}

TEST(SensorDataTables, LoadsBothTablesAndSkipsTheRemainderOfABlock)
{
    // 610 bytes: 30 records and 10 bytes that belong to no record; "GPSI" still follows at 8 + 610.
    QByteArray body;
    for (int i = 0; i < 30; ++i)
        body += sensorRecord(100 + i, -5, 1024, i == 12 ? 1 : 0);
    body += QByteArray(10, '\x55');
    SensorDataTables tables;
    ASSERT_TRUE(loadBytes(tables, dataFile(body, gpsSeconds(60), 2)));
    EXPECT_TRUE(tables.isLoaded());
    EXPECT_EQ(tables.lastLoadResult(), SensorDataTables::LoadResult::Loaded);
    EXPECT_EQ(tables.sensorCount(), 30);
    EXPECT_EQ(ProcessSensorCount(), 30);
    EXPECT_EQ(tables.gpsCount(), 60);
    EXPECT_EQ(tables.sensorTable()[12].mark, 1);
    EXPECT_EQ(tables.sensorTable()[29].x, 129);
    EXPECT_EQ(tables.duration(), 0);
}

TEST(SensorDataTables, LoadsFromAFileAndReportsAMissingOneQuietly)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("rec_20120101_123456.dat"));
    ASSERT_TRUE(writeFile(path, dataFile(sensors({ 1, 2 }), gpsSeconds(3), 0)));
    SensorDataTables tables;
    EXPECT_TRUE(tables.load(path));
    EXPECT_EQ(tables.gpsCount(), 3);
    EXPECT_FALSE(tables.load(dir.filePath(QStringLiteral("missing.dat"))));
    EXPECT_EQ(tables.lastLoadResult(), SensorDataTables::LoadResult::NoData);
    EXPECT_EQ(tables.sensorCount(), 0);
    EXPECT_EQ(tables.gpsCount(), 0);
}

struct DamageCase
{
    const char* name;
    QByteArray bytes;
    int sensorCount;
    int gpsCount;
};

class DamagedFileTest : public ::testing::TestWithParam<DamageCase>
{
};

// Whatever the length fields claim, only whole records inside the file are kept and such a file is not
// loaded, like one without its "GPSI" tag.
TEST_P(DamagedFileTest, KeepsWholeRecordsInsideTheFileAndStaysUnloaded)
{
    const DamageCase& c = GetParam();
    SensorDataTables tables;
    EXPECT_FALSE(loadBytes(tables, c.bytes)) << c.name;
    EXPECT_FALSE(tables.isLoaded()) << c.name;
    EXPECT_EQ(tables.lastLoadResult(), SensorDataTables::LoadResult::NoData) << c.name;
    EXPECT_EQ(tables.sensorCount(), c.sensorCount) << c.name;
    EXPECT_EQ(tables.gpsCount(), c.gpsCount) << c.name;
    EXPECT_FALSE(tables.gpsSample(0).valid) << c.name;
}

QByteArray lyingSensorLength()
{
    return QByteArray("SENS") + u32(0xfffffff0u) + sensors({ 1, 2, 3 }) + QByteArray(5, '\0');
}

QByteArray lyingGpsLength()
{
    return block("SENS", sensors({ 1, 2 })) + QByteArray("GPSI") + u32(1000000000u) + gpsSeconds(4)
        + QByteArray(13, '\0');
}

QByteArray sensorBlockCutMidRecord()
{
    return QByteArray("SENS") + u32(100) + sensors({ 1, 2 }) + sensorRecord(3).left(10);
}

QByteArray gpsTagCut()
{
    return block("SENS", sensors({ 1, 2 })) + QByteArray("GPS");
}

INSTANTIATE_TEST_SUITE_P(Files, DamagedFileTest,
    ::testing::Values(DamageCase { "sensor length far beyond the file", lyingSensorLength(), 3, 0 },
        DamageCase { "sensor block cut in a record", sensorBlockCutMidRecord(), 2, 0 },
        DamageCase { "GPS length far beyond the file", lyingGpsLength(), 2, 0 },
        DamageCase { "GPSI tag cut short", gpsTagCut(), 2, 0 },
        DamageCase { "no GPSI tag", block("SENS", sensors({ 5, 6, 7 })) + QByteArray(40, 'z'), 3, 0 },
        DamageCase { "wrong first tag", QByteArray("SENZ") + u32(0) + block("GPSI", {}), 0, 0 },
        DamageCase { "shorter than a header", QByteArray("SENS\x01", 5), 0, 0 },
        DamageCase { "empty", QByteArray(), 0, 0 }));

struct GpsAgreementCase
{
    const char* name;
    QByteArray bytes;
    int gpsCount;
};

class GpsAgreementTest : public ::testing::TestWithParam<GpsAgreementCase>
{
};

// Every second the GPS count admits answers with its fix, and with no table no second does: a reader of
// the count (the CLI, the map's track) and a reader of the lookups see the same table.
TEST_P(GpsAgreementTest, TheCountAndTheLookupsDescribeTheSameTable)
{
    const GpsAgreementCase& c = GetParam();
    SensorDataTables tables;
    loadBytes(tables, c.bytes);
    EXPECT_EQ(tables.gpsCount(), c.gpsCount) << c.name;
    // The fixtures' files hold a fix in every second they have, four at most.
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(tables.gpsSample(k * 1000).valid, k < c.gpsCount) << c.name << " second " << k;
}

QByteArray gpsBlockCut(int presentRecords, int declaredRecords, int extraBytes)
{
    return block("SENS", sensors({ 1, 2 })) + QByteArray("GPSI") + u32(static_cast<uint32_t>(declaredRecords * 20))
        + gpsSeconds(presentRecords) + gpsRecord(1, 1, 1, 1).left(extraBytes);
}

INSTANTIATE_TEST_SUITE_P(Files, GpsAgreementTest,
    ::testing::Values(GpsAgreementCase { "whole file", dataFile(sensors({ 1 }), gpsSeconds(4), 0), 4 },
        GpsAgreementCase { "GPS block ends exactly with the file", gpsBlockCut(4, 4, 0), 4 },
        GpsAgreementCase { "GPS block cut after four of six records", gpsBlockCut(4, 6, 0), 0 },
        GpsAgreementCase { "GPS block cut inside its fifth record", gpsBlockCut(4, 6, 13), 0 },
        GpsAgreementCase { "GPS block cut before its first record", gpsBlockCut(0, 3, 7), 0 }));

TEST(SensorDataTables, EmptyBlocksAndAMissingSettingsBlockStillLoad)
{
    SensorDataTables tables;
    EXPECT_TRUE(loadBytes(tables, block("SENS", {}) + block("GPSI", {})));
    EXPECT_EQ(tables.sensorCount(), 0);
    EXPECT_FALSE(tables.gpsSample(0).valid);
}

TEST(SensorDataTables, ANewLoadReplacesThePreviousTables)
{
    SensorDataTables tables;
    ASSERT_TRUE(loadBytes(tables, dataFile(sensors({ 1, 2, 3 }), gpsSeconds(5), 0)));
    EXPECT_FALSE(loadBytes(tables, block("SENS", sensors({ 4 }))));
    EXPECT_EQ(tables.sensorCount(), 1);
    EXPECT_EQ(tables.gpsCount(), 0);
    EXPECT_FALSE(tables.isLoaded());
}

struct RangeCase
{
    const char* name;
    std::vector<int32_t> xs;
    int country;
    int top;
    int bottom;
};

class GraphRangeTest : public ::testing::TestWithParam<RangeCase>
{
};

TEST_P(GraphRangeTest, FollowsTheMeanOfTheStrongerSide)
{
    const RangeCase& c = GetParam();
    QByteArray body;
    for (int32_t x : c.xs)
        body += sensorRecord(x);
    SensorDataTables tables(c.country);
    loadBytes(tables, dataFile(body, {}, 0));
    EXPECT_EQ(tables.rangeTop(), c.top) << c.name;
    EXPECT_EQ(tables.rangeBottom(), c.bottom) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Samples, GraphRangeTest,
    ::testing::Values(RangeCase { "all positive: 9 x mean", { 100, 200, 301 }, 82, 1800, -1800 },
        RangeCase { "all negative: 9 x mean magnitude", { -100, -301 }, 82, 1800, -1800 },
        RangeCase { "means truncate toward zero", { 1, 2, -1, -2 }, 1, 9, -9 },
        RangeCase { "positive side stronger", { 300, -100, 0 }, 0, 2700, -2700 },
        RangeCase { "negative side stronger, zeros count there", { 100, -600, 0 }, 0, 2700, -2700 },
        RangeCase { "equal sides take the negative rule", { 100, -100 }, 0, 900, -900 },
        RangeCase { "all zero", { 0, 0 }, 0, 0, 0 }, RangeCase { "Japan is fixed", { 100, 200 }, 81, 2048, -2048 },
        RangeCase { "Japan is fixed without samples", {}, 81, 2048, -2048 },
        RangeCase { "nine times a huge mean saturates", { 2147483647, 2147483647 }, 0, 2147483647, -2147483647 }));

TEST(SensorDataTables, GpsSampleConvertsTheRecordOfTheSecond)
{
    QByteArray gps;
    for (int k = 0; k < 60; ++k)
        gps += gpsRecord(1, 37331234, 127015678, k == 59 ? 163u : 162u);
    gps.replace(20 * 10, 20, gpsRecord(0, 37331234, 127015678, 50));
    SensorDataTables tables;
    ASSERT_TRUE(loadBytes(tables, dataFile({}, gps, 0)));

    const sidecar::GpsSample first = tables.gpsSample(0);
    EXPECT_TRUE(first.valid);
    EXPECT_EQ(first.speedKmh, 300);
    EXPECT_EQ(FormatMapCoordinate(first.latitude), QStringLiteral("37.552057"));
    EXPECT_EQ(FormatMapCoordinate(first.longitude), QStringLiteral("127.026130"));

    // Second 10 has no fix: nothing at all.
    const sidecar::GpsSample noFix = tables.gpsSample(10999);
    EXPECT_FALSE(noFix.valid);
    EXPECT_EQ(noFix.speedKmh, 0);
    EXPECT_EQ(noFix.latitude, 0.0);

    // 59 999 ms is record 59 (163 knots = 301 km/h: shown, but no fix); past the end stays on it.
    for (qint64 t : { 59999LL, 61000LL, 3600000LL }) {
        const sidecar::GpsSample last = tables.gpsSample(t);
        EXPECT_FALSE(last.valid) << t;
        EXPECT_EQ(last.speedKmh, 301) << t;
        EXPECT_EQ(FormatMapCoordinate(last.latitude), QStringLiteral("37.552057")) << t;
    }
    EXPECT_EQ(tables.gpsSample(58999).speedKmh, 300);
    // The player reports -1 without media; earlier times never index before the table.
    EXPECT_TRUE(tables.gpsSample(-1).valid);
    EXPECT_TRUE(tables.gpsSample(-5000).valid);
}

TEST(SensorDataTables, SensorSampleIsTheNearestRecord)
{
    SensorDataTables tables;
    ASSERT_TRUE(loadBytes(tables, dataFile(sensors({ 10, 20, 30, 3000 }), {}, 0)));
    const auto atZero = tables.sensorSample(0, 250);
    ASSERT_TRUE(atZero);
    EXPECT_EQ(atZero->x, 0);
    EXPECT_EQ(tables.sensorSample(374, 250)->x, 20); // 1.496 -> 1
    EXPECT_EQ(tables.sensorSample(375, 250)->x, 30); // 1.5 -> 2
    EXPECT_FALSE(tables.sensorSample(750, 250)); // x beyond +2 g
    EXPECT_FALSE(tables.sensorSample(875, 250)); // index 4: past the table
    EXPECT_FALSE(tables.sensorSample(100, 0)); // no duration yet
    EXPECT_FALSE(tables.sensorSample(-400, 250));
}

} // namespace
