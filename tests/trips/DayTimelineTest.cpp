#include "TripFixtures.h"

#include "trips/DayTimeline.h"
#include "trips/TripGrouping.h"

#include <gtest/gtest.h>

using tripfixtures::recording;

namespace {

// A day of three trips: a morning drive with an event, a parking clip at noon, a lunch drive and an
// evening drive that runs past midnight.
TripList builtDay()
{
    return TripGrouping::Group({ recording(RecordingKind::Normal, "20260301_080000", 60),
        recording(RecordingKind::Event, "20260301_080100", 30), recording(RecordingKind::Normal, "20260301_080230", 60),
        recording(RecordingKind::Parking, "20260301_120000", 10),
        recording(RecordingKind::Normal, "20260301_123000", 60),
        recording(RecordingKind::Normal, "20260301_235900", 60),
        recording(RecordingKind::Normal, "20260302_000000", 60) });
}

int64_t at(int h, int m, int s = 0)
{
    return ((h * 60 + m) * 60 + s) * 1000LL;
}

TEST(DayTimeline, BarsOfADayInDrawingOrderAndClippedAtMidnight)
{
    const TripList list = builtDay();
    ASSERT_EQ(list.tripCount(), 3);
    const DayTimeline day(list, QDate(2026, 3, 1));
    std::vector<std::tuple<DayTimeline::BarKind, int64_t, int64_t>> bars;
    for (const DayTimeline::Bar& b : day.bars())
        bars.emplace_back(b.kind, b.startMs, b.endMs);
    using K = DayTimeline::BarKind;
    EXPECT_EQ(bars,
        (std::vector<std::tuple<K, int64_t, int64_t>> { { K::Trip, at(8, 0), at(8, 3, 30) },
            { K::Trip, at(12, 30), at(12, 31) }, { K::Trip, at(23, 59), at(24, 0) },
            { K::Event, at(8, 1), at(8, 1, 30) }, { K::Parking, at(12, 0), at(12, 0, 10) } }));

    const DayTimeline next(list, QDate(2026, 3, 2));
    ASSERT_EQ(next.bars().size(), 1u);
    EXPECT_EQ(next.bars()[0].startMs, 0);
    EXPECT_EQ(next.bars()[0].endMs, at(0, 1));
    EXPECT_EQ(DayTimeline::Days(list), (std::vector<QDate> { QDate(2026, 3, 1), QDate(2026, 3, 2) }));
}

struct ClickCase
{
    const char* name;
    int64_t msIntoDay;
    const char* base; // nullptr: nothing to play
    int64_t offsetMs;
};

class DayTimelineClick : public ::testing::TestWithParam<ClickCase>
{
};

TEST_P(DayTimelineClick, PlaysTheMomentUnderTheClick)
{
    const TripList list = builtDay();
    const DayTimeline day(list, QDate(2026, 3, 1));
    const std::optional<DayTimeline::Moment> m = day.MomentAt(GetParam().msIntoDay);
    if (!GetParam().base) {
        EXPECT_FALSE(m.has_value());
        return;
    }
    ASSERT_TRUE(m.has_value());
    EXPECT_EQ(list.recordings[size_t(m->recording)].baseName, QString::fromLatin1(GetParam().base));
    EXPECT_EQ(m->offsetMs, GetParam().offsetMs);
}

INSTANTIATE_TEST_SUITE_P(Clicks, DayTimelineClick,
    ::testing::Values(ClickCase { "first_second", at(8, 0), "20260301_080000", 0 },
        ClickCase { "inside_normal", at(8, 0, 42), "20260301_080000", 42000 },
        ClickCase { "inside_event", at(8, 1, 10), "20260301_080100", 10000 },
        // The pause between the event's end and the next file: that file from its start.
        ClickCase { "pause_in_trip", at(8, 2), "20260301_080230", 0 },
        ClickCase { "parking", at(12, 0, 5), "20260301_120000", 5000 },
        ClickCase { "nothing_there", at(10, 0), nullptr, 0 },
        ClickCase { "after_the_last", at(23, 59, 59), "20260301_235900", 59000 }),
    [](const ::testing::TestParamInfo<ClickCase>& info) { return std::string(info.param.name); });

TEST(DayTimeline, AxisArithmeticRoundTripsAndKeepsShortBarsVisible)
{
    const QRect axis(26, 22, 961, 20); // 960 px for 24 h: 40 px an hour
    EXPECT_EQ(DayTimeline::XOfTime(axis, 0), 26);
    EXPECT_EQ(DayTimeline::XOfTime(axis, at(12, 0)), 26 + 480);
    EXPECT_EQ(DayTimeline::XOfTime(axis, at(24, 0)), 26 + 960);
    EXPECT_EQ(DayTimeline::XOfTime(axis, -5), 26);
    EXPECT_EQ(DayTimeline::TimeOfX(axis, 26 + 480), at(12, 0));
    EXPECT_EQ(DayTimeline::TimeOfX(axis, 0), 0);
    EXPECT_EQ(DayTimeline::TimeOfX(axis, 5000), at(24, 0));
    const TripList list = builtDay();
    const DayTimeline day(list, QDate(2026, 3, 1));
    const DayTimeline::Bar parking = day.bars().back();
    EXPECT_EQ(day.BarRect(axis, parking).width(), DayTimeline::kMinBarWidth);
    EXPECT_EQ(day.BarRect(axis, day.bars()[0]).left(), 26 + 320);

    const DayTimeline::Layout l = DayTimeline::Place(QRect(0, 100, 1000, DayTimeline::kStripHeight));
    EXPECT_TRUE(QRect(0, 100, 1000, DayTimeline::kStripHeight).contains(l.axis));
    EXPECT_FALSE(l.axis.intersects(l.previousDay));
    EXPECT_FALSE(l.axis.intersects(l.nextDay));
    EXPECT_FALSE(l.axis.intersects(l.summary));
    EXPECT_GT(l.labels.height(), 10);
}

} // namespace
