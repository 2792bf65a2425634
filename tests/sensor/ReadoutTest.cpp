#include "sensor/AxisReadout.h"
#include "sensor/SpeedReadout.h"

#include <gtest/gtest.h>

namespace {

sidecar::GpsSample sample(int kmh, bool valid = true)
{
    sidecar::GpsSample s;
    s.speedKmh = kmh;
    s.valid = valid;
    s.latitude = 37.552057;
    s.longitude = 127.02613;
    return s;
}

struct UnitCase
{
    int country;
    int controlId;
    int shown;
    int panel;
};

class SpeedUnitTest : public ::testing::TestWithParam<UnitCase>
{
};

TEST_P(SpeedUnitTest, HundredKmhInTheChosenUnit)
{
    const UnitCase& c = GetParam();
    SpeedReadout readout(c.country);
    EXPECT_TRUE(readout.selectUnit(c.controlId));
    readout.update(sample(100));
    EXPECT_EQ(readout.speed(), c.shown) << c.country;
    EXPECT_EQ(readout.text(), QString::number(c.shown)) << c.country;
    EXPECT_EQ(readout.panelImageId(), c.panel) << c.country;
}

INSTANTIATE_TEST_SUITE_P(Countries, SpeedUnitTest,
    ::testing::Values(UnitCase { 1, 1082, 62, 3318 }, UnitCase { 1, 1081, 100, 3317 }, UnitCase { 82, 1082, 100, 3317 },
        UnitCase { 81, 1082, 100, 3317 }, UnitCase { 61, 1082, 62, 3318 }));

TEST(SpeedReadout, ReportsWhatChangedAndHandsValidPositionsToTheMap)
{
    SpeedReadout readout(82);
    EXPECT_EQ(readout.text(), QStringLiteral("0"));
    EXPECT_EQ(readout.gpsImageId(), 3315);

    SpeedReadout::Update u = readout.update(sample(50));
    EXPECT_TRUE(u.gpsChanged);
    EXPECT_TRUE(u.speedChanged);
    EXPECT_EQ(u.longitude, QStringLiteral("127.026130"));
    EXPECT_EQ(u.latitude, QStringLiteral("37.552057"));
    EXPECT_EQ(readout.gpsImageId(), 3316);

    u = readout.update(sample(50));
    EXPECT_FALSE(u.gpsChanged);
    EXPECT_FALSE(u.speedChanged);
    EXPECT_TRUE(u.longitude.has_value());

    // 301 km/h: shown, but no fix and no map move.
    u = readout.update(sample(301, false));
    EXPECT_TRUE(u.gpsChanged);
    EXPECT_TRUE(u.speedChanged);
    EXPECT_FALSE(u.longitude.has_value());
    EXPECT_EQ(readout.text(), QStringLiteral("301"));
    EXPECT_EQ(readout.gpsImageId(), 3315);

    readout.reset();
    EXPECT_EQ(readout.text(), QStringLiteral("0"));
    EXPECT_FALSE(readout.valid());
    EXPECT_FALSE(readout.update(sample(0, false)).speedChanged);
    EXPECT_FALSE(readout.selectUnit(1000));
}

struct SignCase
{
    int value;
    AxisReadout::Cells cells;
};

class AxisCellsTest : public ::testing::TestWithParam<SignCase>
{
};

TEST_P(AxisCellsTest, SignAndFourDigits)
{
    EXPECT_EQ(AxisReadout::cellsFor(GetParam().value), GetParam().cells) << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(Values, AxisCellsTest,
    ::testing::Values(SignCase { -5, { 30, 0, 0, 0, 5 } }, SignCase { 0, { 40, 0, 0, 0, 0 } },
        SignCase { 5, { 20, 0, 0, 0, 5 } }, SignCase { -123, { 30, 0, 1, 2, 3 } },
        SignCase { 2048, { 20, 2, 0, 4, 8 } }, SignCase { -2048, { 30, 2, 0, 4, 8 } }));

TEST(AxisReadout, RepaintsOnlyChangedCellsAndKeepsTheDisplayOutsideTheRange)
{
    AxisReadout readout;
    EXPECT_EQ(readout.show(sidecar::SensorRecord { 0, 0, 0, 0 }), 0u);
    // x 5: its sign and last digit; z -1024: sign and digits 1, 0, 2, 4 (the second digit stays 0).
    const unsigned changed = readout.show(sidecar::SensorRecord { 5, 0, -1024, 0 });
    EXPECT_EQ(changed, (1u << 0) | (1u << 4) | (1u << 10) | (1u << 11) | (1u << 13) | (1u << 14));
    EXPECT_EQ(readout.glyph(2, 0), AxisReadout::kMinus);

    EXPECT_EQ(readout.show(std::nullopt), 0u);
    EXPECT_EQ(readout.show(sidecar::SensorRecord { 1, 2049, 0, 0 }), 0u);
    EXPECT_EQ(readout.show(sidecar::SensorRecord { -2049, 0, 0, 0 }), 0u);
    EXPECT_EQ(readout.glyph(0, 4), 5);
    EXPECT_EQ(readout.glyph(2, 1), 1);
}

} // namespace
