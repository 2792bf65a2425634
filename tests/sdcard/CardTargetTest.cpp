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
