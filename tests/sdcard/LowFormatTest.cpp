#include "MemoryVolume.h"

#include "platform/CardDevices.h"
#include "sdcard/LowFormat.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using card_test::MemoryVolume;

namespace {

TEST(LowFormat, BlockCountIsTheCapacityInWholeMiBTimesEight)
{
    EXPECT_EQ(lowformat::BlockCount(0), 0u);
    EXPECT_EQ(lowformat::BlockCount((1 << 20) - 1), 0u);
    EXPECT_EQ(lowformat::BlockCount(15923150848ULL), (15923150848ULL >> 20) * 8);
}

TEST(LowFormat, ZerosTheWholeVolumeAndReaches100)
{
    // The volume is a little larger than the file system's capacity, as a card's raw device is.
    MemoryVolume volume((10 << 20) + 3 * 4096);
    std::vector<int> percents;
    const lowformat::Result r = lowformat::Run(volume, 10 << 20, [&](int p) { percents.push_back(p); });
    EXPECT_TRUE(r.ok);
    EXPECT_EQ(r.percent, 100);
    EXPECT_EQ(volume.bytes, QByteArray(volume.bytes.size(), 0));
    EXPECT_EQ(percents.size(), 100u);
}

TEST(LowFormat, AWriteFailureBeforeTheEndFails)
{
    MemoryVolume volume(10 << 20);
    volume.failAt = 4 << 20;
    const lowformat::Result r = lowformat::Run(volume, 10 << 20);
    EXPECT_FALSE(r.ok);
    EXPECT_LT(r.percent, 100);
}

// An image file never reports "end of device" on a write: the run must stop at its size instead of growing it.
TEST(LowFormat, AnImageFileIsZeroedAndNeverGrows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("card.img"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(QByteArray((3 << 20) + 512, 'x')), (3 << 20) + 512);
    file.close();
    const auto devices = platform::CreateCardDevices();
    QString error;
    auto volume = devices->openRaw(path, platform::RawAccess::WriteExclusive, &error);
    ASSERT_TRUE(volume) << error.toStdString();
    // The capacity is the whole file: reaching its end is 100 %.
    EXPECT_TRUE(lowformat::Run(*volume, (3 << 20) + 512).ok);
    volume.reset();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.size(), (3 << 20) + 512);
    EXPECT_EQ(file.readAll(), QByteArray((3 << 20) + 512, 0));
}

} // namespace
