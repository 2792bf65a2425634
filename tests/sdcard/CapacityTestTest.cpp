#include "sdcard/CapacityTest.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

using namespace capacitytest;

namespace {

// A simulated card: it claims `claimed` bytes but stores only `real`; writes beyond wrap round onto the start,
// as the fake cards sold with a doctored controller do. It keeps its bytes in an image file.
class FakeCardMedium : public Medium
{
public:
    FakeCardMedium(const QString& image, uint64_t claimed, uint64_t real)
        : m_file(image)
        , m_claimed(claimed)
        , m_real(real)
    {
        m_file.open(QIODevice::ReadWrite | QIODevice::Truncate);
        m_file.resize(static_cast<qint64>(real));
    }
    uint64_t freeBytes() const override { return m_claimed; }
    bool write(uint64_t offset, const QByteArray& block) override
    {
        if (offset + block.size() > m_claimed)
            return false;
        return m_file.seek(static_cast<qint64>(offset % m_real)) && m_file.write(block) == block.size();
    }
    bool finishWriting() override { return m_file.flush(); }
    QByteArray read(uint64_t offset, int size) override
    {
        m_file.seek(static_cast<qint64>(offset % m_real));
        QByteArray data = m_file.read(size);
        if (corruptAt && *corruptAt == offset && !data.isEmpty())
            data[data.size() / 2] = static_cast<char>(data[data.size() / 2] ^ 0x10);
        return data;
    }
    void removeAll() override { removed = true; }

    std::optional<uint64_t> corruptAt;
    bool removed = false;

private:
    QFile m_file;
    uint64_t m_claimed, m_real;
};

constexpr uint64_t kMiB = 1 << 20;

TEST(CapacityTest, AFakeCardWhoseSecondHalfAliasesTheFirstReportsItsRealSize)
{
    QTemporaryDir dir;
    // Claims 16 MiB plus the reserve the test leaves for the file system, stores 8 MiB.
    FakeCardMedium card(dir.filePath(QStringLiteral("fake.img")), 17 * kMiB, 8 * kMiB);
    Options options;
    options.maxBytes = 16 * kMiB;
    const Result r = capacitytest::Run(card, options);
    EXPECT_TRUE(r.ran);
    EXPECT_EQ(r.testedBytes, 16 * kMiB);
    EXPECT_EQ(r.goodBytes, 8 * kMiB) << "only the real half stores what was written";
    EXPECT_EQ(r.badBytes, 8 * kMiB);
    EXPECT_EQ(r.aliasedBytes, 8 * kMiB) << "the first half holds the second half's blocks";
    EXPECT_TRUE(card.removed);
}

TEST(CapacityTest, AnHonestCardIsAllGoodAndOneFlippedBitIsOneBadBlock)
{
    QTemporaryDir dir;
    FakeCardMedium honest(dir.filePath(QStringLiteral("honest.img")), 9 * kMiB, 9 * kMiB);
    Result r = capacitytest::Run(honest, {});
    EXPECT_EQ(r.testedBytes, 8 * kMiB - 0) << "free space less a 1 MiB reserve";
    EXPECT_EQ(r.goodBytes, r.testedBytes);
    EXPECT_EQ(r.badBytes, 0u);

    FakeCardMedium flaky(dir.filePath(QStringLiteral("flaky.img")), 9 * kMiB, 9 * kMiB);
    flaky.corruptAt = 3 * kBlockBytes;
    r = capacitytest::Run(flaky, {});
    EXPECT_EQ(r.badBytes, uint64_t(kBlockBytes));
    EXPECT_EQ(r.aliasedBytes, 0u);
}

TEST(CapacityTest, BlocksDescribeThemselves)
{
    const QByteArray block = MakeBlock(77, 5 * kBlockBytes);
    uint64_t described = 0;
    EXPECT_EQ(CheckBlock(block, 77, 5 * kBlockBytes, &described), BlockState::Good);
    EXPECT_EQ(CheckBlock(block, 77, 2 * kBlockBytes, &described), BlockState::Aliased);
    EXPECT_EQ(described, 5u * kBlockBytes);
    EXPECT_EQ(CheckBlock(block, 78, 5 * kBlockBytes), BlockState::Corrupt) << "a block left by another run";
    QByteArray flipped = block;
    flipped[1000] = static_cast<char>(flipped[1000] ^ 1);
    EXPECT_EQ(CheckBlock(flipped, 77, 5 * kBlockBytes), BlockState::Corrupt);
    EXPECT_EQ(CheckBlock(QByteArray(kBlockBytes, 0), 77, 0), BlockState::Corrupt);
}

TEST(CapacityTest, AFolderRunLeavesExistingFilesAndNothingElse)
{
    QTemporaryDir dir;
    QDir root(dir.path());
    ASSERT_TRUE(root.mkpath(QStringLiteral("Setup")));
    QFile setup(root.filePath(QStringLiteral("Setup/setup.bin")));
    ASSERT_TRUE(setup.open(QIODevice::WriteOnly));
    setup.write("settings");
    setup.close();
    const QStringList before = root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    QString error;
    std::unique_ptr<Medium> medium = FolderMedium(dir.path(), &error);
    ASSERT_TRUE(medium) << error.toStdString();
    Options options;
    options.maxBytes = 4 * kMiB;
    const Result r = capacitytest::Run(*medium, options);
    EXPECT_TRUE(r.ran);
    EXPECT_EQ(r.testedBytes, 4 * kMiB);
    EXPECT_EQ(r.goodBytes, 4 * kMiB);
    EXPECT_GT(r.writeMBps, 0);
    EXPECT_GT(r.readMBps, 0);
    EXPECT_EQ(root.entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
    ASSERT_TRUE(setup.open(QIODevice::ReadOnly));
    EXPECT_EQ(setup.readAll(), QByteArray("settings"));
}

} // namespace
