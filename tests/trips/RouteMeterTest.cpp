#include "TripFixtures.h"

#include "trips/RouteMeter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using Verdict = RouteMeter::Verdict;
constexpr double kLat = 37.5;
constexpr double kLon = 127.0;

// A fix `north` metres north of the origin at second t.
struct Fix
{
    int t;
    double north;
    bool locked = true;
    int speedKmh = 50;
};

struct RouteCase
{
    const char* name;
    std::vector<Fix> fixes;
    double metres;
    int topSpeedKmh;
    std::vector<Verdict> verdicts;
};

class RouteMeterTest : public ::testing::TestWithParam<RouteCase>
{
};

TEST_P(RouteMeterTest, MeasuresOnlyWhatACarCanDrive)
{
    const RouteCase& c = GetParam();
    RouteMeter meter;
    std::vector<Verdict> verdicts;
    for (const Fix& f : c.fixes) {
        verdicts.push_back(meter.add(
            { int64_t(f.t) * 1000, kLat + f.north / tripfixtures::kMetresPerDegreeLat, kLon, f.speedKmh }, f.locked));
    }
    EXPECT_NEAR(meter.distanceMetres(), c.metres, 0.05);
    EXPECT_EQ(meter.topSpeedKmh(), c.topSpeedKmh);
    EXPECT_EQ(verdicts, c.verdicts);
}

const auto A = Verdict::Accepted;
const auto N = Verdict::NoLock;
const auto J = Verdict::Jump;
const auto R = Verdict::Restart;
const auto S = Verdict::Stale;

INSTANTIATE_TEST_SUITE_P(Routes, RouteMeterTest,
    ::testing::Values(RouteCase { "steady", { { 0, 0 }, { 1, 20 }, { 2, 40 }, { 3, 60 } }, 60, 50, { A, A, A, A } },
        // No lock for 30 s: the chord across the gap counts (600 m in 31 s is 19 m/s).
        RouteCase { "gps_gap", { { 0, 0 }, { 1, 20, false, 200 }, { 15, 0, false }, { 31, 620, true, 70 } }, 620, 70,
            { A, N, N, A } },
        // One fix 5 km off: held back and forgotten, its speed not counted.
        RouteCase { "single_jump", { { 0, 0 }, { 1, 20 }, { 2, 5000, true, 250 }, { 3, 60 }, { 4, 80 } }, 80, 50,
            { A, A, J, A, A } },
        // 69.9 m/s is still a car, 70.6 m/s is not; the next fix is measured from the last accepted one.
        RouteCase { "at_the_limit", { { 0, 0 }, { 1, 69.9 }, { 2, 140.5 }, { 3, 209 } }, 209, 50, { A, A, J, A } },
        // The receiver was wrong at the start: three agreeing fixes far away move the route there; the
        // leap is not counted, the steps between them are.
        RouteCase { "wrong_start", { { 0, 0 }, { 1, 9000 }, { 2, 9020 }, { 3, 9040 }, { 4, 9060 } }, 60, 50,
            { A, J, J, R, A } },
        // Two jumps that disagree with each other do not restart.
        RouteCase { "scattered_jumps", { { 0, 0 }, { 1, 9000 }, { 2, -9000 }, { 3, 9000 }, { 4, 40 } }, 40, 50,
            { A, J, J, J, A } },
        // A repeated second (an event file overlapping its normal file) and a step back in time.
        RouteCase { "stale", { { 0, 0 }, { 1, 20 }, { 1, 25 }, { 0, 0 }, { 2, 40 } }, 40, 50, { A, A, S, S, A } },
        // A speed the readout would not believe (above 300 km/h) is not a top speed.
        RouteCase { "speed_field_too_high", { { 0, 0, true, 301 }, { 1, 20, true, 120 } }, 20, 120, { A, A } },
        RouteCase { "never_locked", { { 0, 0, false }, { 1, 20, false } }, 0, 0, { N, N } }),
    [](const ::testing::TestParamInfo<RouteCase>& info) { return std::string(info.param.name); });

TEST(RouteMeter, ReportsNoPositionAtZeroZeroAndOutOfRange)
{
    RouteMeter meter;
    EXPECT_EQ(meter.add({ 0, 0.0, 0.0, 10 }, true), Verdict::NoLock);
    EXPECT_EQ(meter.add({ 1000, 91.0, 10.0, 10 }, true), Verdict::NoLock);
    EXPECT_EQ(meter.add({ 2000, 10.0, 181.0, 10 }, true), Verdict::NoLock);
    EXPECT_EQ(meter.acceptedCount(), 0);
}

TEST(RouteMeter, GreatCircleDistances)
{
    // A degree of latitude anywhere, a degree of longitude at the equator and at 60 degrees north.
    EXPECT_NEAR(RouteMeter::GreatCircleMetres(10, 20, 11, 20), 111195.08, 0.1);
    EXPECT_NEAR(RouteMeter::GreatCircleMetres(0, 20, 0, 21), 111195.08, 0.1);
    EXPECT_NEAR(RouteMeter::GreatCircleMetres(60, 20, 60, 21), 55597.0, 1.0);
    // Across the date line the short way.
    EXPECT_NEAR(RouteMeter::GreatCircleMetres(0, 179.5, 0, -179.5), 111195.08, 0.1);
    // Equator to pole is a quarter of the meridian; the distance does not depend on the direction.
    EXPECT_NEAR(RouteMeter::GreatCircleMetres(0, 10, 90, 10), 6371008.8 * std::numbers::pi / 2, 1.0);
    EXPECT_DOUBLE_EQ(RouteMeter::GreatCircleMetres(37.5, 127.0, 35.1, 129.0),
        RouteMeter::GreatCircleMetres(35.1, 129.0, 37.5, 127.0));
}

} // namespace
