#include "TripFixtures.h"

#include "trips/NoImpactSource.h"
#include "trips/TripGrouping.h"
#include "trips/TripRoute.h"

#include <gtest/gtest.h>

using tripfixtures::driveNorth;
using tripfixtures::recording;

namespace {

QStringList groupsOf(const TripList& list)
{
    // "T1: a b | P: c | T2: d" style summary, so a table row states the expected grouping in one line.
    QStringList out;
    for (const Trip& t : list.entries) {
        QStringList names;
        for (int r : t.recordings)
            names << list.recordings[static_cast<size_t>(r)].baseName.mid(9);
        out << (t.parking ? QStringLiteral("P") : QStringLiteral("T%1").arg(t.number)) + QStringLiteral(": ")
                + names.join(QLatin1Char(' '));
    }
    return out;
}

struct GapCase
{
    const char* name;
    const char* secondStart; // the first recording starts 08:00:00 and runs 60 s
    int maxGapSeconds;
    bool joined;
};

class TripGapTest : public ::testing::TestWithParam<GapCase>
{
};

TEST_P(TripGapTest, JoinsWhileTheNextStartsWithinTheGapOfTheEnd)
{
    const GapCase& c = GetParam();
    std::vector<TripRecording> recs { recording(RecordingKind::Normal, "20260301_080000", 60),
        recording(RecordingKind::Normal, c.secondStart, 60) };
    TripGrouping::Options options;
    options.maxGapMs = int64_t(c.maxGapSeconds) * 1000;
    const TripList list = TripGrouping::Group(recs, options);
    ASSERT_EQ(list.recordings.size(), 2u);
    EXPECT_EQ(list.tripCount(), c.joined ? 1 : 2);
    if (c.joined) {
        const Trip& t = list.entries.front();
        EXPECT_EQ(t.startMs, list.recordings[0].startMs);
        EXPECT_EQ(t.endMs, list.recordings[1].endMs());
    }
}

INSTANTIATE_TEST_SUITE_P(Gaps, TripGapTest,
    ::testing::Values(GapCase { "back_to_back", "20260301_080100", 120, true },
        GapCase { "gap_119s", "20260301_080259", 120, true }, GapCase { "gap_120s", "20260301_080300", 120, true },
        GapCase { "gap_121s", "20260301_080301", 120, false }, GapCase { "overlapping", "20260301_080030", 120, true },
        GapCase { "setting_30s_joins_30", "20260301_080130", 30, true },
        GapCase { "setting_30s_splits_31", "20260301_080131", 30, false },
        GapCase { "next_day_same_time", "20260302_080100", 120, false }),
    [](const ::testing::TestParamInfo<GapCase>& info) { return std::string(info.param.name); });

TEST(TripGrouping, ATripRunsAcrossMidnight)
{
    const TripList list = TripGrouping::Group({ recording(RecordingKind::Normal, "20261231_235900", 60),
        recording(RecordingKind::Normal, "20270101_000030", 60),
        recording(RecordingKind::Normal, "20270101_000130", 60) });
    ASSERT_EQ(list.entries.size(), 1u);
    EXPECT_EQ(list.entries[0].durationMs(), 210 * 1000);
    EXPECT_EQ(RecordingStartTime::IsoText(list.entries[0].startMs), QStringLiteral("2026-12-31T23:59:00"));
    EXPECT_EQ(RecordingStartTime::IsoText(list.entries[0].endMs), QStringLiteral("2027-01-01T00:02:30"));
}

TEST(TripGrouping, ParkingFormsItsOwnEntryAndDoesNotBreakATrip)
{
    // Names in scrambled order: the grouping orders by start itself.
    const TripList list = TripGrouping::Group({ recording(RecordingKind::Normal, "20260301_080200", 60),
        recording(RecordingKind::Parking, "20260301_080130", 600),
        recording(RecordingKind::Normal, "20260301_080000", 60), recording(RecordingKind::Event, "20260301_080100", 30),
        recording(RecordingKind::Parking, "20260301_090000", 60),
        recording(RecordingKind::Normal, "20260301_100000", 60),
        recording(RecordingKind::Event, "20260301_100100", 20) });
    EXPECT_EQ(
        groupsOf(list), QStringList({ "T1: 080000 080100 080200", "P: 080130", "P: 090000", "T2: 100000 100100" }));
    ASSERT_NE(list.trip(1), nullptr);
    EXPECT_EQ(list.trip(1)->events, 1);
    EXPECT_EQ(list.trip(2)->events, 1);
    EXPECT_EQ(list.trip(3), nullptr);
    // The parking recording that runs past the trip's last recording does not stretch the trip.
    EXPECT_EQ(RecordingStartTime::IsoText(list.trip(1)->endMs), QStringLiteral("2026-03-01T08:03:00"));
}

TEST(TripGrouping, ARecordingWithoutLengthJoinsByItsStart)
{
    // No data and no readable header: length 0, so the gap counts from its start.
    const TripList list = TripGrouping::Group({ recording(RecordingKind::Normal, "20260301_080000", 0),
        recording(RecordingKind::Normal, "20260301_080200", 60), recording(RecordingKind::Normal, "20260301_080501", 0),
        recording(RecordingKind::Normal, "20260301_080702", 60) });
    EXPECT_EQ(groupsOf(list), QStringList({ "T1: 080000 080200", "T2: 080501", "T3: 080702" }));
    EXPECT_EQ(list.trip(2)->durationMs(), 0);
    EXPECT_EQ(list.trip(2)->averageSpeedKmh, 0.0);
}

TEST(TripGrouping, FiguresComeFromTheFixesOfEveryRecordingInTurn)
{
    // Two minutes north at 20 m/s, the second file starting where the first ends: 2400 m less the one
    // second between the last fix of a file and the first of the next, which still counts (20 m).
    const TripList list
        = TripGrouping::Group({ driveNorth(RecordingKind::Normal, "20260301_080000", 60, 37.5, 127.0, 20.0),
            driveNorth(RecordingKind::Event, "20260301_080100", 60,
                37.5 + 60 * 20.0 / tripfixtures::kMetresPerDegreeLat, 127.0, 20.0) });
    ASSERT_EQ(list.tripCount(), 1);
    const Trip& t = *list.trip(1);
    EXPECT_NEAR(t.distanceMetres, 119 * 20.0, 0.5);
    EXPECT_EQ(t.topSpeedKmh, 72);
    EXPECT_NEAR(t.averageSpeedKmh, 2380.0 / 1000.0 / (120.0 / 3600.0), 0.05);
    EXPECT_EQ(t.events, 1);
    EXPECT_FALSE(t.impacts.has_value());

    const TripRoute route = TripRoute::Build(list, t);
    ASSERT_EQ(route.segments.size(), 2u);
    EXPECT_EQ(route.pointCount(), 120);
    EXPECT_EQ(route.segments[1].points.front().timeMs, list.recordings[1].startMs);
    EXPECT_DOUBLE_EQ(route.distanceMetres, t.distanceMetres);
}

class CountingImpacts : public TripImpactSource
{
public:
    bool available() const override { return true; }
    std::vector<int64_t> impactOffsetsMs(const TripRecording& r) const override
    {
        return r.kind == RecordingKind::Event ? std::vector<int64_t> { 5000, 9000 } : std::vector<int64_t>();
    }
};

TEST(TripGrouping, ImpactsStayUnknownWithoutASourceAndAreCountedWithOne)
{
    TripList list = TripGrouping::Group({ recording(RecordingKind::Normal, "20260301_080000", 60),
        recording(RecordingKind::Event, "20260301_080100", 60),
        recording(RecordingKind::Normal, "20260301_090000", 60) });
    TripGrouping::ApplyImpacts(list, NoImpactSource());
    EXPECT_FALSE(list.impactsAvailable);
    EXPECT_FALSE(list.trip(1)->impacts.has_value());
    TripGrouping::ApplyImpacts(list, CountingImpacts());
    EXPECT_TRUE(list.impactsAvailable);
    EXPECT_EQ(list.trip(1)->impacts, 2);
    EXPECT_EQ(list.trip(2)->impacts, 0);
    EXPECT_EQ(list.recordings[1].impactOffsetsMs, (std::vector<int64_t> { 5000, 9000 }));
}

TEST(TripGrouping, ACardOfTwentyThousandRecordings)
{
    // 20,000 one-minute recordings: 25 trips a day of 40 back-to-back minutes (every fifth an event) each
    // followed by a parking recording and a 17-minute pause; fixes every second.
    std::vector<TripRecording> recs;
    recs.reserve(20000);
    int64_t startMs = RecordingStartTime::FromBaseName(QStringLiteral("20260101_000000")).value();
    int trips = 0;
    while (recs.size() < 20000) {
        ++trips;
        for (int m = 0; m < 40 && recs.size() < 20000; ++m) {
            TripRecording r = driveNorth(m % 5 == 4 ? RecordingKind::Event : RecordingKind::Normal, "20260101_000000",
                60, 37.0 + m * 1200.0 / tripfixtures::kMetresPerDegreeLat, 127.0, 20.0);
            r.startMs = startMs;
            r.baseName = RecordingStartTime::IsoText(startMs);
            recs.push_back(std::move(r));
            startMs += 60000;
        }
        if (recs.size() < 20000) {
            TripRecording p = recording(RecordingKind::Parking, "20260101_000000", 60);
            p.startMs = startMs + 60000;
            p.baseName = RecordingStartTime::IsoText(p.startMs);
            recs.push_back(std::move(p));
        }
        startMs += 18 * 60000;
    }
    const TripList list = TripGrouping::Group(std::move(recs));
    ASSERT_EQ(list.recordings.size(), 20000u);
    EXPECT_EQ(list.tripCount(), trips);
    EXPECT_EQ(static_cast<int>(list.entries.size()) - list.tripCount(), trips - 1);
    const Trip& first = *list.trip(1);
    EXPECT_EQ(first.recordings.size(), 40u);
    EXPECT_EQ(first.events, 8);
    EXPECT_EQ(first.durationMs(), 40 * 60000);
    EXPECT_NEAR(first.distanceMetres, 40 * 1200.0 - 20.0, 1.0);
}

} // namespace
