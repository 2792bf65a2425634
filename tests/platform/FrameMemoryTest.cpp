// The memory the video frames are written into: page-aligned frames one after another, every byte usable,
// and a block large enough for huge pages starting on a huge-page boundary.
#include "platform/FrameMemory.h"

#include <cstdint>
#include <cstring>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

struct MemoryCase
{
    int count;
    size_t frameBytes;
    bool hugeAligned;
    FrameMemory::Sharing sharing = FrameMemory::Private;
};

class FrameMemoryTest : public ::testing::TestWithParam<MemoryCase>
{
};

TEST_P(FrameMemoryTest, FramesArePageAlignedApartAndWhollyUsable)
{
    const MemoryCase& c = GetParam();
    const size_t page = size_t(sysconf(_SC_PAGESIZE));
    FrameMemory memory(c.count, c.frameBytes, c.sharing);
    ASSERT_FALSE(memory.isNull());
    EXPECT_EQ(memory.count(), c.count);
    EXPECT_EQ(memory.frameSpan() % page, 0u);
    EXPECT_GE(memory.frameSpan(), c.frameBytes);
    EXPECT_LT(memory.frameSpan(), c.frameBytes + page);
    for (int i = 0; i < c.count; ++i) {
        unsigned char* frame = memory.frame(i);
        ASSERT_NE(frame, nullptr);
        EXPECT_EQ(reinterpret_cast<uintptr_t>(frame) % page, 0u);
        EXPECT_EQ(frame, memory.frame(0) + memory.frameSpan() * size_t(i));
        std::memset(frame, 0x40 + i, c.frameBytes);
    }
    // Each frame kept its own bytes: none overlaps the next.
    for (int i = 0; i < c.count; ++i) {
        EXPECT_EQ(memory.frame(i)[0], 0x40 + i);
        EXPECT_EQ(memory.frame(i)[c.frameBytes - 1], 0x40 + i);
    }
    EXPECT_EQ(memory.frame(-1), nullptr);
    EXPECT_EQ(memory.frame(c.count), nullptr);
    if (c.hugeAligned) {
        EXPECT_EQ(reinterpret_cast<uintptr_t>(memory.frame(0)) % (size_t(2) << 20), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, FrameMemoryTest,
    ::testing::Values(MemoryCase { 4, 16 * 16 * 4, false }, // smaller than a page
        MemoryCase { 4, 4096, false }, // exactly a page
        MemoryCase { 3, 333 * 4 * 17, false }, // a page and a bit
        MemoryCase { 4, 1280 * 4 * 720, true }, // the surface's 720p frames
        MemoryCase { 4, 1920 * 4 * 1080, true }, // full frames for the magnifier
        MemoryCase { 3, 333 * 4 * 17, false, FrameMemory::Shared },
        MemoryCase { 4, 1280 * 4 * 720, false, FrameMemory::Shared }));

// What the display server maps is the memory file: what the frames hold must be what the file holds, at
// the frame's offset, and a private block has no file to hand over.
TEST(FrameMemory, ASharedBlockIsTheSameBytesAsItsFile)
{
    const size_t frameBytes = 1280 * 4 * 720;
    FrameMemory shared(3, frameBytes, FrameMemory::Shared);
    ASSERT_FALSE(shared.isNull());
    ASSERT_GE(shared.shareHandle(), 0);
    for (int i = 0; i < shared.count(); ++i)
        std::memset(shared.frame(i), 0x61 + i, frameBytes);
    for (int i = 0; i < shared.count(); ++i) {
        unsigned char byte = 0;
        const off_t at = off_t(shared.frameSpan() * size_t(i) + frameBytes - 1);
        ASSERT_EQ(pread(shared.shareHandle(), &byte, 1, at), 1);
        EXPECT_EQ(byte, 0x61 + i);
    }
    FrameMemory privately(3, frameBytes);
    EXPECT_EQ(privately.shareHandle(), -1);
    EXPECT_NE(privately.serial(), shared.serial());
    EXPECT_NE(FrameMemory(3, frameBytes, FrameMemory::Shared).serial(), shared.serial());
}

TEST(FrameMemory, NothingAskedForIsNull)
{
    EXPECT_TRUE(FrameMemory(0, 4096).isNull());
    EXPECT_TRUE(FrameMemory(4, 0).isNull());
    EXPECT_EQ(FrameMemory(0, 4096).frame(0), nullptr);
}

} // namespace
