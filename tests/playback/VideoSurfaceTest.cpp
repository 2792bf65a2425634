// Surface geometry, the frame hand-over between the library's video thread and the painter, and the
// video-size probe of the file headers.
#include "platform/FrameMemory.h"
#include "playback/PlayerContext.h"
#include "playback/VideoFrameSink.h"
#include "playback/VideoSurfaceLayout.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <set>
#include <thread>
#include <vector>

namespace {

struct InnerCase
{
    QSize client, video;
    QRect expected;
};

class InnerRectTest : public ::testing::TestWithParam<InnerCase>
{
};

TEST_P(InnerRectTest, OwnSizeCentredWhenItFitsElseTheWholeArea)
{
    const InnerCase& c = GetParam();
    EXPECT_EQ(InnerVideoRect(c.client, c.video, true, QRect(1, 2, 3, 4)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, InnerRectTest,
    ::testing::Values(InnerCase { { 800, 450 }, { 1920, 1080 }, { 0, 0, 800, 450 } },
        InnerCase { { 800, 450 }, { 640, 480 }, { 0, 0, 800, 450 } }, // 480 does not fit in 450
        InnerCase { { 800, 500 }, { 640, 480 }, { 80, 10, 640, 480 } },
        InnerCase { { 641, 481 }, { 640, 480 }, { 0, 0, 640, 480 } },
        InnerCase { { 640, 600 }, { 640, 480 }, { 0, 0, 640, 600 } }, // equal width fills
        InnerCase { { 800, 450 }, { 0, 0 }, { 0, 0, 800, 450 } }));

TEST(InnerRect, UnknownVideoKeepsTheCurrentGeometry)
{
    EXPECT_EQ(InnerVideoRect({ 800, 450 }, { 320, 240 }, false, QRect(0, 0, 0, 0)), QRect(0, 0, 0, 0));
    EXPECT_EQ(InnerVideoRect({ 800, 450 }, { 320, 240 }, false, QRect(5, 5, 10, 10)), QRect(5, 5, 10, 10));
}

TEST(FitPicture, KeepsTheProportionsWithBarsOnOneSide)
{
    EXPECT_EQ(FitPictureRect({ 800, 450 }, { 1920, 1080 }), QRect(0, 0, 800, 450));
    EXPECT_EQ(FitPictureRect({ 800, 800 }, { 1920, 1080 }), QRect(0, 175, 800, 450));
    EXPECT_EQ(FitPictureRect({ 1000, 450 }, { 1920, 1080 }), QRect(100, 0, 800, 450));
    EXPECT_EQ(FitPictureRect({ 400, 200 }, { 320, 240 }), QRect(66, 0, 267, 200));
    EXPECT_EQ(FitPictureRect({ 1280, 720 }, { 1920, 1080 }), QRect(0, 0, 1280, 720));
}

// Drives the sink's callbacks as the library's video thread does.
struct FakeVideoThread
{
    VideoFrameSink& sink;
    unsigned width = 0, height = 0, pitch = 0, lines = 0;

    bool format(unsigned sourceWidth, unsigned sourceHeight)
    {
        void* opaque = &sink;
        char chroma[5] = "I420";
        width = sourceWidth;
        height = sourceHeight;
        const unsigned buffers = VideoFrameSink::formatCallback(&opaque, chroma, &width, &height, &pitch, &lines);
        return buffers > 0 && std::memcmp(chroma, "RV32", 4) == 0;
    }

    void frame(unsigned char value)
    {
        void* planes[3] = {};
        void* picture = VideoFrameSink::lockCallback(&sink, planes);
        std::memset(planes[0], value, size_t(pitch) * lines);
        VideoFrameSink::unlockCallback(&sink, picture, planes);
        VideoFrameSink::displayCallback(&sink, picture);
    }
};

TEST(FrameSink, FramesAreAskedForAtTheFittedSizeUsingTheHeadersProportions)
{
    VideoFrameSink sink;
    FakeVideoThread video { sink };
    sink.setDisplayArea({ 1280, 720 });
    sink.setVideoSizeHint({ 1920, 1080 });
    ASSERT_TRUE(video.format(1920, 1088)); // decoders pad 1080 lines to 1088
    EXPECT_EQ(video.width, 1280u);
    EXPECT_EQ(video.height, 720u);
    EXPECT_EQ(video.pitch, 1280u * 4);
    EXPECT_EQ(video.lines, 720u);

    // A video smaller than the area comes at its own size, never enlarged by the library.
    sink.setVideoSizeHint({ 320, 240 });
    ASSERT_TRUE(video.format(320, 256));
    EXPECT_EQ(QSize(int(video.width), int(video.height)), QSize(320, 240));
}

TEST(FrameSink, TheMagnifierAsksForFullFramesOnlyWhileItIsOn)
{
    VideoFrameSink sink;
    FakeVideoThread video { sink };
    sink.setDisplayArea({ 800, 450 });
    sink.setVideoSizeHint({ 1920, 1080 });
    EXPECT_FALSE(sink.needsNewFormat()); // nothing started yet
    ASSERT_TRUE(video.format(1920, 1088));
    EXPECT_EQ(QSize(int(video.width), int(video.height)), QSize(800, 450));
    EXPECT_FALSE(sink.needsNewFormat());

    sink.setFullResolution(true);
    EXPECT_TRUE(sink.needsNewFormat());
    ASSERT_TRUE(video.format(1920, 1088));
    EXPECT_EQ(QSize(int(video.width), int(video.height)), QSize(1920, 1080));
    EXPECT_FALSE(sink.needsNewFormat());

    sink.setFullResolution(false);
    EXPECT_TRUE(sink.needsNewFormat());
    ASSERT_TRUE(video.format(1920, 1088));
    EXPECT_EQ(QSize(int(video.width), int(video.height)), QSize(800, 450));

    // A video no larger than the area is delivered whole anyway: switching needs no restart.
    sink.setVideoSizeHint({ 640, 360 });
    ASSERT_TRUE(video.format(640, 368));
    sink.setFullResolution(true);
    EXPECT_FALSE(sink.needsNewFormat());
}

TEST(FrameSink, EveryFrameIsPaintedInOrderUnlessTwoNewerWait)
{
    VideoFrameSink sink;
    FakeVideoThread video { sink };
    int signals = 0;
    QObject::connect(&sink, &VideoFrameSink::frameReady, [&] { ++signals; });
    sink.setDisplayArea({ 64, 48 });
    ASSERT_TRUE(video.format(64, 48));

    VideoFrameSink::Frame frame;
    bool fresh = true;
    EXPECT_FALSE(sink.takeFrame(frame, &fresh)); // nothing yet
    EXPECT_FALSE(fresh);

    // Two frames finished before the painter came: one repaint asked for, and both are painted in turn.
    video.frame(10);
    video.frame(20);
    EXPECT_EQ(signals, 1);
    ASSERT_TRUE(sink.takeFrame(frame, &fresh));
    EXPECT_TRUE(fresh);
    EXPECT_EQ(frame.bits[0], 10);
    EXPECT_EQ(QSize(frame.width, frame.height), QSize(64, 48));
    EXPECT_EQ(signals, 2); // the second still waits: another repaint
    ASSERT_TRUE(sink.takeFrame(frame, &fresh));
    EXPECT_TRUE(fresh);
    EXPECT_EQ(frame.bits[0], 20);
    EXPECT_EQ(sink.framesDropped(), 0u);

    // Nothing new: the same picture again, not fresh.
    ASSERT_TRUE(sink.takeFrame(frame, &fresh));
    EXPECT_FALSE(fresh);
    EXPECT_EQ(frame.bits[0], 20);

    // Three finished while the painter holds 20: the oldest is given up, the painted buffer is untouched.
    video.frame(30);
    video.frame(40);
    video.frame(50);
    video.frame(60);
    EXPECT_EQ(frame.bits[0], 20);
    ASSERT_TRUE(sink.takeFrame(frame, &fresh));
    EXPECT_EQ(frame.bits[0], 50);
    ASSERT_TRUE(sink.takeFrame(frame, &fresh));
    EXPECT_EQ(frame.bits[0], 60);

    EXPECT_EQ(sink.framesDelivered(), 6u);
    EXPECT_EQ(sink.framesTaken(), 4u);
    EXPECT_EQ(sink.framesDropped(), 2u);
}

TEST(FrameSink, ConcurrentFramesArriveWholeAndInOrder)
{
    VideoFrameSink sink;
    sink.setDisplayArea({ 16, 16 });
    FakeVideoThread video { sink };
    ASSERT_TRUE(video.format(16, 16));
    constexpr uint32_t kFrames = 20000;
    std::thread writer([&] {
        for (uint32_t n = 1; n <= kFrames; ++n) {
            void* planes[3] = {};
            void* picture = VideoFrameSink::lockCallback(&sink, planes);
            auto* bytes = static_cast<unsigned char*>(planes[0]);
            std::memcpy(bytes, &n, 4);
            std::memset(bytes + 4, int(n & 0xff), size_t(video.pitch) * video.lines - 8);
            std::memcpy(bytes + size_t(video.pitch) * video.lines - 4, &n, 4);
            VideoFrameSink::displayCallback(&sink, picture);
        }
    });
    uint32_t last = 0;
    bool whole = true, ordered = true;
    VideoFrameSink::Frame frame;
    while (last < kFrames && whole && ordered) {
        bool fresh = false;
        if (!sink.takeFrame(frame, &fresh) || !fresh)
            continue;
        uint32_t first = 0, end = 0;
        std::memcpy(&first, frame.bits, 4);
        std::memcpy(&end, frame.bits + size_t(frame.stride) * size_t(frame.height) - 4, 4);
        // Read twice over the frame: the video thread must not be writing it meanwhile.
        whole = first == end && frame.bits[100] == (first & 0xff);
        ordered = first > last;
        last = first;
    }
    writer.join();
    EXPECT_TRUE(whole);
    EXPECT_TRUE(ordered);
    EXPECT_EQ(sink.framesDelivered(), uint64_t(kFrames));
    EXPECT_EQ(sink.framesTaken() + sink.framesDropped(), uint64_t(kFrames));
}

TEST(FrameSink, ANewFormatTakesOverWithItsFirstFrame)
{
    VideoFrameSink sink;
    FakeVideoThread video { sink };
    sink.setDisplayArea({ 64, 48 });
    ASSERT_TRUE(video.format(64, 48));
    video.frame(1);
    VideoFrameSink::Frame frame;
    ASSERT_TRUE(sink.takeFrame(frame));

    ASSERT_TRUE(video.format(32, 24)); // next recording
    ASSERT_TRUE(sink.takeFrame(frame));
    EXPECT_EQ(frame.width, 64); // the last picture stays until the new one comes
    video.frame(2);
    ASSERT_TRUE(sink.takeFrame(frame));
    EXPECT_EQ(frame.width, 32);
    EXPECT_EQ(frame.bits[0], 2);
}

// The library opens its video output again while it settles on a decoder, asking for the same size: the
// frames go on in the same buffers, and the ones finished before are still painted, in order.
TEST(FrameSink, ASameSizedFormatGoesOnInTheSameBuffers)
{
    VideoFrameSink sink;
    FakeVideoThread video { sink };
    sink.setDisplayArea({ 64, 48 });
    ASSERT_TRUE(video.format(64, 48));
    std::set<const void*> buffers;
    const auto lockedBuffer = [&] {
        void* planes[3] = {};
        void* picture = VideoFrameSink::lockCallback(&sink, planes);
        VideoFrameSink::unlockCallback(&sink, picture, planes);
        return static_cast<const void*>(planes[0]);
    };
    // The painter holding frame 1 while two more wait sends the video thread through all four buffers.
    VideoFrameSink::Frame frame;
    for (unsigned char n = 1; n <= 4; ++n) {
        buffers.insert(lockedBuffer());
        video.frame(n);
        if (n == 1) {
            ASSERT_TRUE(sink.takeFrame(frame));
        }
    }
    ASSERT_EQ(buffers.size(), 4u);
    for (unsigned char n = 3; n <= 4; ++n) {
        ASSERT_TRUE(sink.takeFrame(frame));
        EXPECT_EQ(frame.bits[0], n);
    }
    EXPECT_EQ(sink.framesDropped(), 1u); // frame 2
    video.frame(5);
    video.frame(6);

    ASSERT_TRUE(video.format(64, 48));
    EXPECT_EQ(QSize(int(video.width), int(video.height)), QSize(64, 48));
    EXPECT_EQ(video.pitch, 64u * 4);
    bool fresh = false;
    ASSERT_TRUE(sink.takeFrame(frame, &fresh));
    EXPECT_TRUE(fresh);
    EXPECT_EQ(frame.bits[0], 5);
    EXPECT_EQ(buffers.count(lockedBuffer()), 1u);
    video.frame(7);
    for (unsigned char n = 6; n <= 7; ++n) {
        ASSERT_TRUE(sink.takeFrame(frame, &fresh));
        EXPECT_TRUE(fresh);
        EXPECT_EQ(frame.bits[0], n);
        EXPECT_EQ(buffers.count(frame.bits), 1u);
    }
    EXPECT_EQ(sink.framesDropped(), 1u);

    // Another size: other buffers, and the last picture stays until the first frame of the new size.
    ASSERT_TRUE(video.format(32, 24));
    EXPECT_EQ(buffers.count(lockedBuffer()), 0u);
    ASSERT_TRUE(sink.takeFrame(frame));
    EXPECT_EQ(frame.width, 64);
    EXPECT_EQ(frame.bits[0], 7);
}

// Frames for the display server come in memory it can map, and opaque: a converter that leaves the fourth
// byte unset would otherwise let the desktop through a window with an alpha channel. Frames painted by Qt stay
// as delivered.
TEST(FrameSink, SharedFramesComeInSharedMemoryAndOpaque)
{
    struct Case
    {
        bool shared;
        unsigned char value;
        uint32_t expected;
    };
    for (const Case c : { Case { true, 0x00, 0xff000000u }, Case { true, 0x42, 0xff424242u },
             Case { true, 0xff, 0xffffffffu }, Case { false, 0x42, 0x42424242u } }) {
        VideoFrameSink sink;
        sink.setSharedFrames(c.shared);
        FakeVideoThread video { sink };
        sink.setDisplayArea({ 64, 48 });
        ASSERT_TRUE(video.format(64, 48));
        video.frame(c.value);
        VideoFrameSink::Frame frame;
        ASSERT_TRUE(sink.takeFrame(frame));
        ASSERT_NE(frame.memory, nullptr);
        EXPECT_EQ(frame.memory->shareHandle() >= 0, c.shared);
        EXPECT_EQ(frame.bits, frame.memory->frame(0) + frame.offset);
        for (int y = 0; y < frame.height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(frame.bits + y * frame.stride);
            for (int x = 0; x < frame.width; ++x)
                ASSERT_EQ(row[x], c.expected) << "value " << int(c.value) << " at " << x << "," << y;
        }
    }
}

TEST(MakeOpaque, SetsTheFourthByteOnlyWhereTheFrameLacksIt)
{
    std::vector<uint32_t> frame(40 * 30, 0x00123456u);
    EXPECT_TRUE(MakeOpaque(reinterpret_cast<unsigned char*>(frame.data()), 40, 30, 40 * 4));
    EXPECT_TRUE(std::all_of(frame.begin(), frame.end(), [](uint32_t p) { return p == 0xff123456u; }));
    EXPECT_FALSE(MakeOpaque(reinterpret_cast<unsigned char*>(frame.data()), 40, 30, 40 * 4));
    // Rows wider than the picture: the padding is left alone.
    std::vector<uint32_t> padded(48 * 30, 0x00000001u);
    EXPECT_TRUE(MakeOpaque(reinterpret_cast<unsigned char*>(padded.data()), 40, 30, 48 * 4));
    EXPECT_EQ(padded[39], 0xff000001u);
    EXPECT_EQ(padded[40], 0x00000001u);
    EXPECT_FALSE(MakeOpaque(nullptr, 40, 30, 160));
}

// The player closed with nothing to follow: neither the picture painted last nor frames still waiting come
// back; the next frame the library delivers does, on the same format or a new one.
TEST(FrameSink, DiscardedFramesAreNotGivenOutAgain)
{
    VideoFrameSink sink;
    FakeVideoThread video { sink };
    sink.setDisplayArea({ 64, 36 });
    ASSERT_TRUE(video.format(64, 36));
    VideoFrameSink::Frame frame;
    video.frame(10);
    ASSERT_TRUE(sink.takeFrame(frame));
    EXPECT_EQ(frame.bits[0], 10);

    sink.discardFrames();
    EXPECT_FALSE(sink.takeFrame(frame));
    EXPECT_FALSE(sink.takeFrame(frame));

    // Two frames wait when the player closes: neither is painted.
    video.frame(11);
    video.frame(12);
    sink.discardFrames();
    EXPECT_FALSE(sink.takeFrame(frame));

    // Playback again on the same format: the new frame, then it stays as the picture.
    video.frame(13);
    bool fresh = false;
    ASSERT_TRUE(sink.takeFrame(frame, &fresh));
    EXPECT_TRUE(fresh);
    EXPECT_EQ(frame.bits[0], 13);
    ASSERT_TRUE(sink.takeFrame(frame, &fresh));
    EXPECT_FALSE(fresh);
    EXPECT_EQ(frame.bits[0], 13);

    // And on a new format.
    sink.discardFrames();
    ASSERT_TRUE(video.format(64, 36));
    video.frame(14);
    ASSERT_TRUE(sink.takeFrame(frame));
    EXPECT_EQ(frame.bits[0], 14);
}

TEST(FrameSink, ChangingTheFlipsAsksForARepaint)
{
    VideoFrameSink sink;
    int signals = 0;
    QObject::connect(&sink, &VideoFrameSink::frameReady, [&] { ++signals; });
    sink.setFlips(VideoFrameSink::FirstFlip);
    EXPECT_EQ(signals, 1);
    VideoFrameSink::Frame frame;
    sink.takeFrame(frame);
    sink.setFlips(VideoFrameSink::FirstFlip); // unchanged
    EXPECT_EQ(signals, 1);
    sink.setFlips(VideoFrameSink::NoFlip);
    EXPECT_EQ(signals, 2);
}

struct ProbeCase
{
    const char* name;
    bool mp4;
    int fileSize;
    std::vector<std::pair<int, unsigned char>> bytes;
    bool ok;
    int width, height;
};

class ProbeTest : public ::testing::TestWithParam<ProbeCase>
{
};

TEST_P(ProbeTest, ReadsTheHeaderFields)
{
    const ProbeCase& c = GetParam();
    QTemporaryDir dir;
    const QString path = dir.filePath(QString::fromLatin1(c.name));
    QByteArray data(c.fileSize, '\x11');
    for (const auto& [offset, value] : c.bytes)
        data[offset] = char(value);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
    f.close();
    int width = -5, height = -6;
    EXPECT_EQ(PlayerContext::ProbeVideoSize(path, c.mp4, width, height), c.ok);
    EXPECT_EQ(width, c.width);
    EXPECT_EQ(height, c.height);
}

INSTANTIATE_TEST_SUITE_P(Headers, ProbeTest,
    ::testing::Values(
        // 1920 = 0x0780, 1080 = 0x0438
        ProbeCase { "avi", false, 512, { { 64, 0x80 }, { 65, 0x07 }, { 68, 0x38 }, { 69, 0x04 } }, true, 1920, 1080 },
        ProbeCase {
            "mp4", true, 4096, { { 232, 0x05 }, { 233, 0x00 }, { 236, 0x02 }, { 237, 0xD0 } }, true, 1280, 720 },
        // The MP4 fields are big-endian: the same bytes read little-endian would give other numbers.
        ProbeCase { "mp4_short", true, 237, { { 232, 0x05 } }, false, -5, -6 },
        ProbeCase { "avi_short", false, 69, {}, false, -5, -6 }));

TEST(Probe, UnreadableFileLeavesTheValues)
{
    int width = 7, height = 8;
    EXPECT_FALSE(PlayerContext::ProbeVideoSize(QStringLiteral("/nonexistent/rec_x.avi"), false, width, height));
    EXPECT_EQ(width, 7);
    EXPECT_EQ(height, 8);
}

} // namespace
