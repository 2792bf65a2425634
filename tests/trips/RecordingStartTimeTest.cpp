#include "trips/RecordingStartTime.h"

#include <gtest/gtest.h>

namespace {

struct NameCase
{
    const char* base;
    const char* iso; // nullptr: no start time
};

class RecordingStartTimeTest : public ::testing::TestWithParam<NameCase>
{
};

TEST_P(RecordingStartTimeTest, ReadsTheCameraClockFromTheName)
{
    const NameCase& c = GetParam();
    const std::optional<int64_t> ms = RecordingStartTime::FromBaseName(QString::fromLatin1(c.base));
    if (!c.iso) {
        EXPECT_FALSE(ms.has_value()) << c.base;
        return;
    }
    ASSERT_TRUE(ms.has_value()) << c.base;
    EXPECT_EQ(RecordingStartTime::IsoText(*ms), QString::fromLatin1(c.iso));
}

INSTANTIATE_TEST_SUITE_P(Names, RecordingStartTimeTest,
    ::testing::Values(NameCase { "20120101_123456", "2012-01-01T12:34:56" },
        NameCase { "20120101_123456X", "2012-01-01T12:34:56" }, NameCase { "20240229_235959", "2024-02-29T23:59:59" },
        NameCase { "20230229_120000", nullptr }, NameCase { "20121301_000000", nullptr },
        NameCase { "20120101_246000", nullptr }, NameCase { "20120101-123456", nullptr },
        NameCase { "2012010a_123456", nullptr }, NameCase { "20120101_12345", nullptr },
        NameCase { "20120101_123456XY", nullptr }, NameCase { "", nullptr }));

TEST(RecordingStartTime, DaysFollowEachOtherAcrossMidnightAndMonths)
{
    const int64_t a = RecordingStartTime::FromBaseName(QStringLiteral("20260228_235930")).value();
    const int64_t b = RecordingStartTime::FromBaseName(QStringLiteral("20260301_000030")).value();
    EXPECT_EQ(b - a, 60000);
}

} // namespace
