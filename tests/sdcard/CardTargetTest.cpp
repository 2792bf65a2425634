#include "CardImages.h"

#include "platform/CardDevices.h"
#include "sdcard/CardFiles.h"
#include "sdcard/CardTarget.h"
#include "sdcard/FatBootSector.h"
#include "sdcard/SettingsBackup.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace card_test;

namespace {

TEST(CardTarget, AcceptsAnImageAndReadsItsLabel)
{
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("card.img"));
    ASSERT_TRUE(makeFatImage(image, 64 << 20, 1, QStringLiteral("KORVANE")));
    const auto devices = platform::CreateCardDevices();
    QString why;
    const std::optional<CardTarget> target = ResolveCardTarget(image, *devices, &why);
    ASSERT_TRUE(target) << why.toStdString();
    EXPECT_EQ(target->kind, CardTarget::Kind::ImageFile);
    EXPECT_FALSE(target->mounted());
    EXPECT_EQ(target->label, QStringLiteral("KORVANE"));
    EXPECT_EQ(CardTargetCapacity(*target, *devices), uint64_t(64 << 20));

    const std::optional<FatBootSector> bs = ReadFatBootSector(image);
    ASSERT_TRUE(bs);
    EXPECT_TRUE(bs->fat32);
    EXPECT_EQ(bs->clusterBytes(), 512u);
    EXPECT_GT(bs->dataClusters, 120000u);
}

TEST(CardTarget, RefusesWhatIsNeitherARemovableVolumeNorAnImage)
{
    QTemporaryDir dir;
    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    QFile f(text);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray(4096, 'a'));
    f.close();
    const auto devices = platform::CreateCardDevices();
    for (const QString& path : { text, dir.path(), QStringLiteral("/"), dir.filePath(QStringLiteral("missing")) }) {
        QString why;
        EXPECT_FALSE(ResolveCardTarget(path, *devices, &why)) << path.toStdString();
        EXPECT_FALSE(why.isEmpty()) << path.toStdString();
    }
}

TEST(SettingsBackup, RoundTripDeletesTheBackupOnlyWhenTheCardReadsBackIdentical)
{
    QTemporaryDir card, pc;
    const QByteArray settings = settingsBytes();
    auto files = CardFilesInFolder(card.path());
    ASSERT_TRUE(files->write(SettingsBackup::cardPath(), settings));
    const QString backupPath = pc.filePath(QStringLiteral("KORVANE/Setup/setup.bin"));

    const SettingsBackup backup = SettingsBackup::make(*files, backupPath);
    EXPECT_TRUE(backup.existed);
    EXPECT_TRUE(backup.backedUp);
    ASSERT_TRUE(QDir(card.path()).removeRecursively()); // the format
    ASSERT_TRUE(QDir().mkpath(card.path()));
    const SettingsRestore restore = RestoreSettings(backup, *files);
    EXPECT_TRUE(restore.restored);
    EXPECT_TRUE(restore.backupDeleted);
    EXPECT_FALSE(QFile::exists(backupPath));
    EXPECT_EQ(files->read(SettingsBackup::cardPath()).value_or(QByteArray()), settings);
}

// A card that takes the write but gives back something else (or nothing).
class LossyCard : public CardFiles
{
public:
    bool exists(const QString&) const override { return true; }
    std::optional<QByteArray> read(const QString&) const override { return stored; }
    bool write(const QString&, const QByteArray& data) override
    {
        stored = data.left(data.size() / 2);
        return true;
    }
    QByteArray stored = card_test::settingsBytes();
};

TEST(SettingsBackup, AFailedRestoreKeepsTheBackupOnThePc)
{
    QTemporaryDir pc;
    LossyCard card;
    const QString backupPath = pc.filePath(QStringLiteral("KORVANE/Setup/setup.bin"));
    const SettingsBackup backup = SettingsBackup::make(card, backupPath);
    ASSERT_TRUE(backup.backedUp);
    const SettingsRestore restore = RestoreSettings(backup, card);
    EXPECT_TRUE(restore.attempted);
    EXPECT_FALSE(restore.restored);
    EXPECT_FALSE(restore.backupDeleted);
    QFile kept(backupPath);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), settingsBytes());
}

TEST(SettingsBackup, ACardWithoutSettingsNeedsNoBackupOrRestore)
{
    QTemporaryDir card, pc;
    auto files = CardFilesInFolder(card.path());
    const SettingsBackup backup = SettingsBackup::make(*files, pc.filePath(QStringLiteral("b/setup.bin")));
    EXPECT_FALSE(backup.existed);
    const SettingsRestore restore = RestoreSettings(backup, *files);
    EXPECT_FALSE(restore.attempted);
    EXPECT_FALSE(files->exists(SettingsBackup::cardPath()));
    EXPECT_FALSE(QFile::exists(pc.filePath(QStringLiteral("b/setup.bin"))));
}

TEST(CardFiles, ReachFilesInsideAnImageWithoutMountingIt)
{
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("card.img"));
    ASSERT_TRUE(makeFatImage(image, 64 << 20, 1));
    auto files = CardFilesInImage(image);
    EXPECT_FALSE(files->exists(SettingsBackup::cardPath()));
    ASSERT_TRUE(files->write(SettingsBackup::cardPath(), settingsBytes()));
    EXPECT_TRUE(files->exists(SettingsBackup::cardPath()));
    EXPECT_EQ(files->read(SettingsBackup::cardPath()).value_or(QByteArray()), settingsBytes());
    EXPECT_EQ(getFile(image, QStringLiteral("Setup/setup.bin"), dir.filePath(QStringLiteral("x"))), settingsBytes());
}

} // namespace

namespace {

TEST(CardMountOptions, KeepTheOwnerAndCharacterSetOfTheMountItReplaces)
{
    qunsetenv("PKEXEC_UID");
    EXPECT_EQ(platform::CardMountOptions(
                  QStringLiteral("rw,uid=1000,gid=1000,fmask=0022,dmask=0022,codepage=437,"
                                 "iocharset=ascii,shortname=mixed,showexec,utf8,flush,errors=remount-ro")),
        QStringLiteral("uid=1000,gid=1000,fmask=0022,dmask=0022,codepage=437,iocharset=ascii,shortname=mixed,showexec,"
                       "utf8,flush"));
    EXPECT_EQ(platform::CardMountOptions(QString()), QString());
    // Run through pkexec for a desktop user, the card stays that user's.
    qputenv("PKEXEC_UID", "0");
    EXPECT_EQ(platform::CardMountOptions(QStringLiteral("rw,relatime")), QStringLiteral("uid=0,gid=0"));
    EXPECT_EQ(platform::CardMountOptions(QStringLiteral("rw,uid=1000")), QStringLiteral("uid=1000"));
    qunsetenv("PKEXEC_UID");
}

} // namespace

#include "sdcard/FatLayout.h"

namespace {

// The layout rule against the real mkfs.fat: every layout it picks is one mkfs.fat makes without a warning, and
// the boot sector it writes holds a cluster count valid for its FAT kind.
TEST(FatLayout, WhatItPicksMkfsFatMakesValid)
{
    QTemporaryDir dir;
    for (const qint64 bytes : { 4LL << 20, 8LL << 20, 32LL << 20, 40LL << 20, 64LL << 20, 1LL << 30, 2LL << 30 }) {
        const std::optional<FatLayout> layout = FatLayout::forCard(uint64_t(bytes), 64);
        ASSERT_TRUE(layout) << bytes;
        const QString image = dir.filePath(QStringLiteral("l.img"));
        QFile file(image);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.resize(bytes));
        file.close();
        QByteArray out;
        ASSERT_TRUE(runTool(QStringLiteral("/usr/sbin/mkfs.fat"),
            { QStringLiteral("-F"), QString::number(layout->fatBits), QStringLiteral("-s"),
                QString::number(layout->clusterSectors), image },
            &out))
            << out.toStdString();
        EXPECT_FALSE(out.contains("WARNING")) << bytes << ": " << out.toStdString();
        const std::optional<FatBootSector> bs = ReadFatBootSector(image);
        ASSERT_TRUE(bs) << bytes;
        EXPECT_EQ(bs->fat32, layout->fatBits == 32) << bytes;
        EXPECT_EQ(bs->sectorsPerCluster, uint32_t(layout->clusterSectors)) << bytes;
        EXPECT_GE(bs->dataClusters, layout->clusters) << bytes << ": the estimate is a floor";
        if (layout->fatBits == 32)
            EXPECT_GE(bs->dataClusters, FatLayout::kMinFat32Clusters) << bytes;
        else
            EXPECT_LE(bs->dataClusters, FatLayout::kMaxFat16Clusters) << bytes;
        QFile::remove(image);
    }
}

// An image is mounted when a loop device backed by it is: it is refused, not formatted under the mount.
TEST(CardTarget, RefusesAnImageMountedThroughALoopDevice)
{
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("card.img"));
    ASSERT_TRUE(makeFatImage(image, 64 << 20, 1));
    const QString sys = dir.filePath(QStringLiteral("sys"));
    QDir().mkpath(sys + QStringLiteral("/block/loop3/loop"));
    QFile backing(sys + QStringLiteral("/block/loop3/loop/backing_file"));
    ASSERT_TRUE(backing.open(QIODevice::WriteOnly));
    backing.write(QFile::encodeName(image) + "\n");
    backing.close();
    QFile mountInfo(dir.filePath(QStringLiteral("mountinfo")));
    ASSERT_TRUE(mountInfo.open(QIODevice::WriteOnly));
    mountInfo.write("22 1 8:2 / / rw - ext4 /dev/sda2 rw\n70 22 7:3 / /mnt/img rw - vfat /dev/loop3 rw\n");
    mountInfo.close();
    const auto devices = platform::CreateCardDevices(mountInfo.fileName(), sys);
    QString why;
    EXPECT_FALSE(ResolveCardTarget(image, *devices, &why));
    EXPECT_TRUE(why.contains(QStringLiteral("mounted"))) << why.toStdString();
    // Unmounted, the same image is a target.
    const auto none = platform::CreateCardDevices(dir.filePath(QStringLiteral("nomounts")), sys);
    EXPECT_TRUE(ResolveCardTarget(image, *none, &why)) << why.toStdString();
}

// After a format the card's files are written only where the card is proven to be.
TEST(CardFiles, AfterAFormatOnlyTheProvenPlace)
{
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("card.img"));
    ASSERT_TRUE(makeFatImage(image, 64 << 20, 1));
    const QString folder = dir.filePath(QStringLiteral("mnt"));
    QDir().mkpath(folder);
    CardTarget target;
    target.kind = CardTarget::Kind::ImageFile;
    target.path = image;
    target.mountPoint = folder + QLatin1Char('/');
    // The folder was the card's mount point, but the mount table no longer shows the card there: the image
    // itself is written (it is mounted nowhere and this process may write it), never the folder.
    const auto devices = platform::CreateCardDevices(dir.filePath(QStringLiteral("nomounts")), dir.path());
    std::unique_ptr<CardFiles> files = CardFilesAfterFormat(target, *devices);
    ASSERT_TRUE(files);
    ASSERT_TRUE(files->write(SettingsBackup::cardPath(), settingsBytes()));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/Setup/setup.bin")));
    EXPECT_EQ(getFile(image, QStringLiteral("Setup/setup.bin"), dir.filePath(QStringLiteral("x"))), settingsBytes());

    // Mounted there according to the table: the folder.
    QFile mountInfo(dir.filePath(QStringLiteral("mountinfo")));
    ASSERT_TRUE(mountInfo.open(QIODevice::WriteOnly));
    mountInfo.write(
        QByteArray("70 22 7:3 / ") + QFile::encodeName(folder) + " rw - vfat " + QFile::encodeName(image) + " rw\n");
    mountInfo.close();
    const auto mounted = platform::CreateCardDevices(mountInfo.fileName(), dir.path());
    files = CardFilesAfterFormat(target, *mounted);
    ASSERT_TRUE(files);
    ASSERT_TRUE(files->write(QStringLiteral("probe.txt"), "x"));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/probe.txt")));
}

} // namespace
