#include "TripFixtures.h"

#include "trips/TripExportText.h"
#include "trips/TripGrouping.h"
#include "trips/TripMapRoute.h"
#include "trips/TripRoute.h"

#include <gtest/gtest.h>

namespace {

TEST(TripMapRoute, OnePartPerRecordingWithCameraClockTimes)
{
    TripRecording a = tripfixtures::driveNorth(RecordingKind::Normal, "20260301_080000", 2, 37.5, 127.0, 10.0);
    TripRecording b = tripfixtures::driveNorth(RecordingKind::Normal, "20260301_080100", 1, 37.5, 127.0, 10.0);
    b.fixes[0].latitude = a.fixes[1].latitude;
    const TripList list = TripGrouping::Group({ a, b });
    const QString text = TripMapRoute::InputText(TripRoute::Build(list, *list.trip(1)));
    const int64_t t0 = list.recordings[0].startMs;
    EXPECT_EQ(text,
        QStringLiteral("%1,127.000000,37.500000;%2,127.000000,37.500090|%3,127.000000,37.500090")
            .arg(t0)
            .arg(t0 + 1000)
            .arg(t0 + 60000));
    TripList empty;
    EXPECT_EQ(TripMapRoute::InputText(TripRoute()), QString());
}

TEST(TripMapRoute, ReadsOnlyRouteCommands)
{
    EXPECT_EQ(TripMapRoute::TimeFromCommand(QStringLiteral("route?at=1772352060000")), 1772352060000LL);
    EXPECT_EQ(TripMapRoute::TimeFromCommand(QStringLiteral("Route?at=5")), 5);
    EXPECT_FALSE(TripMapRoute::TimeFromCommand(QStringLiteral("seek?ms=5")).has_value());
    EXPECT_FALSE(TripMapRoute::TimeFromCommand(QStringLiteral("route?at=")).has_value());
    EXPECT_FALSE(TripMapRoute::TimeFromCommand(QStringLiteral("route?at=-3")).has_value());
    EXPECT_FALSE(TripMapRoute::TimeFromCommand(QStringLiteral("route?at=12x")).has_value());
}

TEST(TripExportText, NameSummaryAndStamps)
{
    Trip t;
    t.number = 2;
    t.startMs = RecordingStartTime::FromBaseName(QStringLiteral("20260301_080000")).value();
    t.endMs = t.startMs + 42 * 60000 + 30000;
    t.distanceMetres = 25349;
    t.topSpeedKmh = 96;
    t.averageSpeedKmh = 35.8;
    t.events = 1;
    EXPECT_EQ(TripExportText::Name(t), QStringLiteral("Trip 2, 2026-03-01 08:00 to 08:42"));
    EXPECT_EQ(TripExportText::Summary(t), QStringLiteral("25.3 km in 42 min, top 96 km/h, average 35 km/h, 1 event"));
    t.impacts = 3;
    t.endMs += 16 * 3600000;
    EXPECT_EQ(TripExportText::Name(t), QStringLiteral("Trip 2, 2026-03-01 08:00 to 2026-03-02 00:42"));
    EXPECT_TRUE(TripExportText::Summary(t).endsWith(QStringLiteral(", 3 impacts")));
    EXPECT_EQ(TripExportText::TimeStamp(t.startMs + 5000), QStringLiteral("2026-03-01T08:00:05"));
    EXPECT_EQ(TripExportText::Coordinate(-0.5), QStringLiteral("-0.5000000"));
}

} // namespace
