#include "MemoryVolume.h"

#include "sdcard/ReadSpeedTest.h"

#include <gtest/gtest.h>

using card_test::MemoryVolume;

namespace {

TEST(ReadSpeedShare, IsRoundedUpToHundredthsOfAPercent)
{
    struct
    {
        uint64_t clusters, slow;
        int64_t share;
        int stringId;
    } const cases[] = {
        { 1000, 10, 100, 293 },
        { 1000, 9, 90, 285 },
        { 1000, 0, 0, 285 },
        { 3, 1, 3334, 293 },
        { 100000, 1, 1, 285 }, // 0.001 % rounds up to 0.01 %
        { 10000, 99, 99, 285 },
        { 0, 0, 0, 285 },
        { 1000, 1000, 10000, 293 },
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readspeed::SlowShareHundredths(c.clusters, c.slow), c.share) << c.clusters << "/" << c.slow;
        EXPECT_EQ(readspeed::ResultStringId(c.share), c.stringId);
    }
}

// Reads are timed by a clock the test drives: a read of exactly 10 ms is not slow, 11 ms is.
TEST(ReadSpeedRun, CountsReadsOverTenMillisecondsAndReachesTheEnd)
{
    MemoryVolume volume(1000 * 4096);
    int64_t now = 0;
    int reads = 0;
    volume.onRead = [&] {
        ++reads;
        now += (reads % 100 == 0) ? 11 : 10;
    };
    readspeed::Options options;
    options.clusterBytes = 4096;
    options.totalClusters = 990; // the data area is a little smaller than the volume
    options.clock = [&] { return now; };
    std::vector<int> percents;
    options.progress = [&](int p) { percents.push_back(p); };
    const readspeed::Result r = readspeed::Run(volume, options);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.clusters, 1000u);
    EXPECT_EQ(r.slow, 10u);
    EXPECT_EQ(r.shareHundredths, 100);
    ASSERT_EQ(percents.size(), 100u);
    EXPECT_EQ(percents.back(), 100);
}

TEST(ReadSpeedRun, AReadErrorBeforeTheEndIsAFailedMeasurement)
{
    MemoryVolume volume(1000 * 4096);
    volume.failAt = 500 * 4096;
    readspeed::Options options;
    options.clusterBytes = 4096;
    options.totalClusters = 1000;
    const readspeed::Result r = readspeed::Run(volume, options);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.clusters, 500u);
    EXPECT_LT(r.percent, 100);
}

} // namespace

namespace {

// Unbuffered reads are at least the device's alignment: small clusters are counted by what each read holds.
TEST(ReadSpeedRun, ClustersSmallerThanTheAlignmentAreAllCounted)
{
    class AlignedVolume : public MemoryVolume
    {
    public:
        using MemoryVolume::MemoryVolume;
        int alignment() const override { return 4096; }
    } volume(1000 * 4096);
    readspeed::Options options;
    options.clusterBytes = 512;
    options.totalClusters = 7990;
    const readspeed::Result r = readspeed::Run(volume, options);
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.clusters, 8000u);
}

} // namespace
