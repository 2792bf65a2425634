#include "VideoBytes.h"

#include "trips/VideoHeaderLength.h"

#include <QBuffer>

#include <gtest/gtest.h>

namespace {

std::optional<int64_t> lengthOf(QByteArray bytes)
{
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    return VideoHeaderLength::Read(buffer);
}

struct HeaderCase
{
    const char* name;
    QByteArray bytes;
    int64_t ms; // -1: no length
};

class VideoHeaderLengthTest : public ::testing::TestWithParam<HeaderCase>
{
};

TEST_P(VideoHeaderLengthTest, ReadsTheLengthTheFileStates)
{
    const HeaderCase& c = GetParam();
    const std::optional<int64_t> ms = lengthOf(c.bytes);
    if (c.ms < 0)
        EXPECT_FALSE(ms.has_value()) << *ms;
    else
        EXPECT_EQ(ms, c.ms);
}

using namespace videobytes;

INSTANTIATE_TEST_SUITE_P(Headers, VideoHeaderLengthTest,
    ::testing::Values(HeaderCase { "avi_minute_at_30fps", avi(33333, 1800), 59999 },
        HeaderCase { "avi_25fps", avi(40000, 1500), 60000 },
        HeaderCase { "avi_strh_before_avih", avi(40000, 250, chunk("strh", QByteArray(8, '\0'))), 10000 },
        // The camera writes the frame count when it closes the file: an unfinished one says 0.
        HeaderCase { "avi_unfinished", avi(40000, 0), -1 },
        HeaderCase { "avi_cut_in_avih", avi(40000, 1500).left(40), -1 },
        HeaderCase { "avi_absurd_length", avi(1000000, 0xffffffffu), -1 },
        HeaderCase { "mp4_v0", mp4(mvhd0(1000, 60000)), 60000 },
        HeaderCase { "mp4_v0_90k", mp4(mvhd0(90000, 90000 * 61)), 61000 },
        HeaderCase { "mp4_v1", mp4(mvhd1(600, 600ull * 45)), 45000 },
        HeaderCase { "mp4_zero_scale", mp4(mvhd0(0, 60000)), -1 },
        HeaderCase { "mp4_unknown_duration", mp4(mvhd0(1000, 0xffffffffu)), -1 },
        HeaderCase { "mp4_no_moov", box("ftyp", QByteArray(8, '\0')) + box("mdat", QByteArray(64, '\0')), -1 },
        HeaderCase { "mp4_moov_cut_short", mp4(mvhd0(1000, 60000)).chopped(20), -1 },
        HeaderCase { "mp4_box_size_too_small",
            box("ftyp", QByteArray(8, '\0')) + be32(4) + QByteArray("moov", 4) + mvhd0(1000, 60000), -1 },
        HeaderCase { "empty", QByteArray(), -1 }, HeaderCase { "text", QByteArray("video"), -1 }),
    [](const ::testing::TestParamInfo<HeaderCase>& info) { return std::string(info.param.name); });

TEST(VideoHeaderLength, AMissingFileHasNoLength)
{
    EXPECT_FALSE(VideoHeaderLength::Read(QStringLiteral("/nonexistent/rec_20120101_000000.avi")).has_value());
}

} // namespace
