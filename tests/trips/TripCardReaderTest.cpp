#include "VideoBytes.h"
#include "catalogue/CatalogueFixture.h"

#include "trips/RecordingStartTime.h"
#include "trips/TripCardReader.h"

#include <gtest/gtest.h>

namespace {

// A data file of `seconds` fixes a second driving north at 10 knots; fix 0 where `unlocked` says so.
QByteArray dataFile(int seconds, int unlockedFrom = -1, int unlockedTo = -1)
{
    QByteArray gps;
    for (int k = 0; k < seconds; ++k) {
        const bool locked = k < unlockedFrom || k >= unlockedTo;
        // 37 deg 30.0000' + k x 0.0100' north (about 18.5 m a second), 127 deg 00.0000'.
        gps += datbytes::gpsRecord(locked ? 1 : 0, 37300000 + k * 100, 127000000, 10);
    }
    return datbytes::dataFile(datbytes::sensorRecord(100) + datbytes::sensorRecord(-100), gps, 0);
}

const TripRecording* find(const TripList& list, const char* base)
{
    for (const TripRecording& r : list.recordings) {
        if (r.baseName == QLatin1String(base))
            return &r;
    }
    return nullptr;
}

TEST(TripCardReader, ReadsStartsLengthsAndFixesOfAFolder)
{
    CardFolder card;
    card.add(QStringLiteral("rec_20260301_080000.avi"), videobytes::avi(40000, 1500));
    card.add(QStringLiteral("rec_20260301_080000.dat"), dataFile(60));
    // No data file: the header gives the length.
    card.add(QStringLiteral("rec_20260301_080100.avi"), videobytes::avi(40000, 1125));
    // Neither data nor a header: length unknown, the recording still belongs to the trip by its start.
    card.add(QStringLiteral("rec_20260301_080145.avi"), QByteArray("video"));
    // Data whose GPS lost its lock for 20 s.
    card.add(QStringLiteral("evt_20260301_080200.avi"), videobytes::avi(40000, 0));
    card.add(QStringLiteral("evt_20260301_080200.dat"), dataFile(30, 5, 25));
    card.add(QStringLiteral("rec_20260301_075000p.vlm"), "20260301_083000");
    card.add(QStringLiteral("pmr_20260301_090000.avi"), videobytes::avi(40000, 250));
    card.add(QStringLiteral("rec_20261301_000000.avi"));

    TripList list;
    ASSERT_TRUE(TripCardReader::Read(card.path(), std::nullopt, TripGrouping::Options(), list));
    EXPECT_EQ(list.unplaced, 1);
    ASSERT_EQ(list.recordings.size(), 5u);

    const TripRecording* a = find(list, "20260301_080000");
    ASSERT_NE(a, nullptr);
    EXPECT_TRUE(a->hasData);
    EXPECT_EQ(a->lengthSource, TripRecording::LengthSource::DataSamples);
    EXPECT_EQ(a->lengthMs, 60000);
    ASSERT_EQ(a->fixes.size(), 60u);
    EXPECT_NEAR(a->fixes[1].latitude, 37.5 + 0.01 / 60.0, 1e-9);
    EXPECT_EQ(a->fixes[1].speedKmh, 18);
    EXPECT_TRUE(a->dataPath.endsWith(QLatin1String("rec_20260301_080000.dat")));

    const TripRecording* b = find(list, "20260301_080100");
    ASSERT_NE(b, nullptr);
    EXPECT_FALSE(b->hasData);
    EXPECT_EQ(b->lengthSource, TripRecording::LengthSource::VideoHeader);
    EXPECT_EQ(b->lengthMs, 45000);

    const TripRecording* c = find(list, "20260301_080145");
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->lengthSource, TripRecording::LengthSource::None);
    EXPECT_EQ(c->lengthMs, 0);

    ASSERT_EQ(list.tripCount(), 1);
    const Trip& t = *list.trip(1);
    EXPECT_EQ(t.recordings.size(), 4u);
    EXPECT_EQ(t.events, 1);
    EXPECT_EQ(RecordingStartTime::IsoText(t.endMs), QStringLiteral("2026-03-01T08:02:30"));
    // 59 steps of 0.01' north in the first file; back south to where it started between its last fix and
    // the event file's first (59 steps in 61 s: a car can do that); in the event file seconds 0..4 and
    // 25..29 are locked, and the chord across the unlocked gap counts (29 steps).
    const double step = 0.01 / 60.0 * 111195.08;
    EXPECT_NEAR(t.distanceMetres, (59 + 59 + 29) * step, 1.0);
    ASSERT_EQ(list.entries.size(), 2u);
    EXPECT_TRUE(list.entries[1].parking);
    EXPECT_EQ(list.entries[1].durationMs(), 10000);
}

TEST(TripCardReader, ReadsAnMp4CardOfAnMp4Model)
{
    CardFolder card;
    card.add(QStringLiteral("rec_20260301_080000.mp4"), videobytes::mp4(videobytes::mvhd0(1000, 60000)));
    card.add(QStringLiteral("rec_20260301_080100.mp4"), videobytes::mp4(videobytes::mvhd0(1000, 60000)));
    card.add(QStringLiteral("rec_20260301_090000.avi"), videobytes::avi(40000, 1500));
    TripList list;
    ASSERT_TRUE(TripCardReader::Read(card.path(), 4, TripGrouping::Options(), list));
    ASSERT_EQ(list.recordings.size(), 2u);
    EXPECT_EQ(list.tripCount(), 1);
    EXPECT_EQ(list.trip(1)->durationMs(), 120000);
}

TEST(TripCardReader, AFolderThatCannotBeReadFails)
{
    TripList list;
    EXPECT_FALSE(
        TripCardReader::Read(QStringLiteral("/nonexistent/card"), std::nullopt, TripGrouping::Options(), list));
}

} // namespace
