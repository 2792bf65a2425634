// The rules a format follows before it touches a card: which FAT a card of a given size gets, what is refused,
// what the privileged helper accepts, and how the end of an elevated job is read.
#include "sdcard/ErrorCheck.h"
#include "sdcard/FatLayout.h"
#include "sdcard/FormatGuard.h"
#include "sdcard/Formatter.h"
#include "sdcard/HelperPolicy.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

constexpr uint64_t MiB = 1ULL << 20;
constexpr uint64_t GiB = 1ULL << 30;

TEST(FatLayout, KeepsTheCameraClusterWhereFat32StaysValidElseSmallerClustersElseFat16)
{
    struct
    {
        uint64_t bytes;
        int camera;
        std::optional<std::pair<int, int>> layout; // FAT bits, sectors per cluster
    } const cases[] = {
        { 64'000'000'000ULL, 128, std::pair { 32, 128 } },
        { 15'923'150'848ULL, 128, std::pair { 32, 128 } },
        { 4'000'000'000ULL, 64, std::pair { 32, 64 } },
        { 2500 * MiB, 64, std::pair { 32, 64 } },
        { 2 * GiB, 64, std::pair { 32, 32 } }, // 65,536 clusters of 32 KiB, less the FATs: too few
        { 1 * GiB, 64, std::pair { 32, 16 } },
        { 64 * MiB, 64, std::pair { 32, 1 } },
        { 40 * MiB, 64, std::pair { 32, 1 } },
        { 32 * MiB, 64, std::pair { 16, 2 } }, // no FAT32 can be valid
        { 8 * MiB, 64, std::pair { 16, 1 } },
        { 4 * MiB, 64, std::pair { 16, 1 } },
        { 2 * MiB, 64, std::nullopt }, // not even FAT16
        { 1 * MiB, 64, std::nullopt },
        { 0, 64, std::nullopt },
    };
    for (const auto& c : cases) {
        const std::optional<FatLayout> layout = FatLayout::forCard(c.bytes, c.camera);
        ASSERT_EQ(layout.has_value(), c.layout.has_value()) << c.bytes;
        if (!layout)
            continue;
        EXPECT_EQ(layout->fatBits, c.layout->first) << c.bytes;
        EXPECT_EQ(layout->clusterSectors, c.layout->second) << c.bytes;
        if (layout->fatBits == 32)
            EXPECT_GE(layout->clusters, FatLayout::kMinFat32Clusters) << c.bytes;
        else
            EXPECT_LE(c.bytes / 512 / uint64_t(layout->clusterSectors), FatLayout::kMaxFat16Clusters) << c.bytes;
    }
}

TEST(FormatGuard, RefusesWhatIsNoCameraCardUnlessForcedAndTooSmallAlways)
{
    using R = FormatGuard::Refusal;
    const uint64_t tb2 = FormatGuard::kLargestCardBytes;
    struct
    {
        uint64_t bytes, diskBytes;
        int partitions;
        bool force;
        R refusal;
    } const cases[] = {
        { 32 * GiB, 32 * GiB, 1, false, R::None },
        { 32 * GiB, 32 * GiB, 0, false, R::None },
        { tb2, tb2, 1, false, R::None }, // the largest SDXC card
        { tb2 + 1, tb2 + 1, 1, false, R::TooLarge },
        { 4'000'000'000'000ULL, 4'000'000'000'000ULL, 1, true, R::None },
        { 32 * GiB, 4'000'000'000'000ULL, 1, false, R::TooLarge }, // a small partition of a big USB disk
        { 32 * GiB, 64 * GiB, 2, false, R::SeveralPartitions },
        { 32 * GiB, 64 * GiB, 2, true, R::None },
        { 1 * MiB, 1 * MiB, 0, false, R::TooSmall },
        { 1 * MiB, 1 * MiB, 0, true, R::TooSmall },
    };
    for (const auto& c : cases) {
        FormatGuard::Facts facts;
        facts.bytes = c.bytes;
        facts.diskBytes = c.diskBytes;
        facts.partitions = c.partitions;
        EXPECT_EQ(FormatGuard::check(facts, 128, c.force), c.refusal) << c.bytes << " " << c.partitions;
        EXPECT_EQ(FormatGuard::describe(c.refusal, facts).isEmpty(), c.refusal == R::None);
    }
}

QByteArray mbr(std::initializer_list<uint8_t> types)
{
    QByteArray s(64 * 1024, '\0');
    int i = 0;
    for (uint8_t t : types)
        s[446 + 16 * i++ + 4] = char(t);
    s[510] = char(0x55);
    s[511] = char(0xAA);
    return s;
}

TEST(FormatGuard, CountsThePartitionsOfMbrAndGptTables)
{
    EXPECT_EQ(FormatGuard::partitionsInTable(mbr({ 0x0c })), 1);
    EXPECT_EQ(FormatGuard::partitionsInTable(mbr({ 0x0c, 0x83 })), 2);
    EXPECT_EQ(FormatGuard::partitionsInTable(mbr({ 0x0c, 0, 0x07, 0x83 })), 3);
    EXPECT_EQ(FormatGuard::partitionsInTable(QByteArray(512, '\0')), 0) << "no signature, no table";

    // A GPT with three entries in use among 128.
    QByteArray gpt = mbr({ 0xEE });
    gpt.replace(512, 8, "EFI PART");
    uchar* b = reinterpret_cast<uchar*>(gpt.data());
    qToLittleEndian<quint64>(2, b + 512 + 72);
    qToLittleEndian<quint32>(128, b + 512 + 80);
    qToLittleEndian<quint32>(128, b + 512 + 84);
    for (int i : { 0, 1, 5 })
        gpt[1024 + 128 * i] = char(0x28);
    EXPECT_EQ(FormatGuard::partitionsInTable(gpt), 3);

    // A FAT32 boot sector's boot code is no partition table.
    QByteArray fat(64 * 1024, '\0');
    fat[0] = char(0xEB);
    fat[1] = char(0x58);
    fat[2] = char(0x90);
    uchar* f = reinterpret_cast<uchar*>(fat.data());
    qToLittleEndian<quint16>(512, f + 11);
    f[13] = 8;
    qToLittleEndian<quint16>(32, f + 14);
    f[16] = 2;
    qToLittleEndian<quint32>(8 * 1024 * 1024, f + 32);
    qToLittleEndian<quint32>(8192, f + 36);
    fat.replace(82, 8, "FAT32   ");
    for (int i = 0; i < 4; ++i)
        fat[446 + 16 * i + 4] = char(0x5A); // boot code that happens to look like types
    fat[510] = char(0x55);
    fat[511] = char(0xAA);
    EXPECT_EQ(FormatGuard::partitionsInTable(fat), 0);
}

TEST(HelperPolicy, MountsOnlyAtTheCardsOwnPlaceOrBelowTheUsersMediaFolder)
{
    struct
    {
        const char* requested;
        const char* previous;
        const char* user;
        bool allowed;
    } const cases[] = {
        { "/media/anna/KORVANE", "", "anna", true },
        { "/run/media/anna/CARD", "", "anna", true },
        { "/media/anna/a/b", "", "anna", true },
        { "/media/anna", "", "anna", false }, // the media folder itself
        { "/media/anna/", "", "anna", false },
        { "/media/anna/../bob/X", "", "anna", false },
        { "/media/bob/KORVANE", "", "anna", false }, // another user's
        { "/media/annabel/X", "", "anna", false },
        { "/etc", "", "anna", false },
        { "/usr/local/bin", "", "anna", false },
        { "/mnt/card", "/mnt/card/", "anna", true }, // where the card was mounted
        { "/mnt/card2", "/mnt/card/", "anna", false },
        { "/media/root/X", "", "", false }, // an unknown user has no media folder
        { "", "", "anna", false },
    };
    for (const auto& c : cases)
        EXPECT_EQ(
            HelperPolicy::mountAtAllowed(QLatin1String(c.requested), QLatin1String(c.previous), QLatin1String(c.user)),
            c.allowed)
            << c.requested;
}

TEST(HelperPolicy, ALinkCannotLeadOutOfTheMediaFolder)
{
    QTemporaryDir dir;
    // resolved() follows links as far as the path exists.
    const QString outside = dir.filePath(QStringLiteral("etc"));
    QDir().mkpath(outside);
    QDir().mkpath(dir.filePath(QStringLiteral("media")));
    QFile::link(outside, dir.filePath(QStringLiteral("media/sneaky")));
    EXPECT_EQ(HelperPolicy::resolved(dir.filePath(QStringLiteral("media/sneaky/new"))),
        QDir(outside).canonicalPath() + QStringLiteral("/new"));
    EXPECT_EQ(HelperPolicy::resolved(QStringLiteral("/no/such/../place")), QStringLiteral("/no/place"));
}

TEST(HelperPolicy, AsRootOnlyTheInvokingUsersFiles)
{
    EXPECT_TRUE(HelperPolicy::regularFileAllowed(true, 1000u, 1000));
    EXPECT_FALSE(HelperPolicy::regularFileAllowed(true, 0u, 1000)); // root's file, asked for by user 1000
    EXPECT_FALSE(HelperPolicy::regularFileAllowed(true, 1001u, 1000));
    EXPECT_FALSE(HelperPolicy::regularFileAllowed(true, std::nullopt, 1000));
    EXPECT_TRUE(HelperPolicy::regularFileAllowed(false, 0u, 1000)); // unelevated: the permissions decide
    EXPECT_EQ(HelperPolicy::mediaFolders(QStringLiteral("anna")), QStringList({ "/media/anna", "/run/media/anna" }));
    EXPECT_TRUE(HelperPolicy::mediaFolders(QStringLiteral("..")).isEmpty());
}

TEST(JobEnd, PkexecsOwnStatusMeansCancelledOrRefusedOnlyWhenElevated)
{
    using E = formatter::JobEnd;
    struct
    {
        bool elevated, started, normal;
        int code;
        bool success;
        E end;
    } const cases[] = {
        { true, true, true, 0, true, E::Done }, { true, true, true, 126, false, E::Cancelled },
        { true, true, true, 127, false, E::NotAuthorised }, { true, true, true, 1, false, E::Failed },
        { true, false, false, -1, false, E::Failed }, // pkexec missing
        { false, true, true, 126, false, E::Failed }, // the helper's own status
        { true, true, false, 126, false, E::Failed }, // crashed
    };
    for (const auto& c : cases)
        EXPECT_EQ(formatter::JobEndOf(c.elevated, c.started, c.normal, c.code, c.success), c.end)
            << c.elevated << c.code;
}

// Under elevation the environment chooses nothing: the installed helper and the system's fsck.fat run.
TEST(Programs, TheEnvironmentChoosesOnlyWhatRunsUnelevated)
{
    qputenv("KORVANE_FORMATTER", "/tmp/evil-formatter");
    qputenv("KORVANE_FSCK", "/tmp/evil-fsck");
    EXPECT_EQ(formatter::Program(false), QStringLiteral("/tmp/evil-formatter"));
    EXPECT_NE(formatter::Program(true), QStringLiteral("/tmp/evil-formatter"));
    EXPECT_EQ(errorcheck::Program(false), QStringLiteral("/tmp/evil-fsck"));
    EXPECT_EQ(errorcheck::Program(true), QStringLiteral("/usr/sbin/fsck.fat"));
    qunsetenv("KORVANE_FORMATTER");
    qunsetenv("KORVANE_FSCK");
    EXPECT_EQ(errorcheck::Program(false), QStringLiteral("/usr/sbin/fsck.fat")) << "never looked up on the PATH";
}

} // namespace
