#include "platform/RemovableVolumes.h"
#include "platform/CardDevices.h"
#include "platform/linux/MountInfo.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/mount.h>

namespace {

TEST(RemovableRootsFromMountInfo, RemovableDevicesInMountPointOrder)
{
    const QByteArray mountInfo = "22 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
                                 "40 22 8:17 / /media/user/KORVANE rw,nosuid shared:20 - vfat /dev/sdb1 rw,fmask=0022\n"
                                 "41 22 8:33 / /media/user/CARD\\040TWO rw,nosuid shared:21 - exfat /dev/sdc1 rw\n"
                                 "42 22 0:45 / /run/user/1000 rw - tmpfs tmpfs rw\n"
                                 "43 22 8:17 / /mnt/again rw - vfat /dev/sdb1 rw\n"
                                 "44 22 8:49 / /media/user/A rw - vfat /dev/sdd1 rw\n"
                                 "garbage line\n";
    const auto removable = [](const QString& device) { return device != QLatin1String("/dev/vda"); };
    EXPECT_EQ(RemovableRootsFromMountInfo(mountInfo, removable),
        QStringList({ "/media/user/A/", "/media/user/CARD TWO/", "/media/user/KORVANE/", "/mnt/again/" }));
    EXPECT_TRUE(RemovableRootsFromMountInfo(mountInfo, [](const QString&) { return false; }).isEmpty());
}

// A device tree as the kernel shows it: class/block/<name> links into devices/..., a removable flag, a size and
// device numbers on every disk and partition, a partition marker on partitions, and each disk's "device" link to
// the device on its bus, whose "subsystem" link names the bus (bus/scsi, bus/mmc).
class FakeSysfs
{
public:
    FakeSysfs() { EXPECT_TRUE(m_dir.isValid()); }

    QString root() const { return m_dir.path(); }

    // A disk at devices/<busDevice>/block/<name>; busDevice is the device the "device" link points at.
    void addDisk(const QString& busDevice, const QString& bus, const QString& name, const char* removable,
        qint64 sectors, const char* dev, const QMap<QString, QByteArray>& deviceFiles = {})
    {
        const QString device = m_dir.filePath(QStringLiteral("devices/") + busDevice);
        const QString disk = device + QStringLiteral("/block/") + name;
        QDir().mkpath(disk);
        QDir().mkpath(m_dir.filePath(QStringLiteral("bus/") + bus));
        QFile::link(m_dir.filePath(QStringLiteral("bus/") + bus), device + QStringLiteral("/subsystem"));
        QFile::link(device, disk + QStringLiteral("/device"));
        for (auto it = deviceFiles.begin(); it != deviceFiles.end(); ++it)
            write(device + QLatin1Char('/') + it.key(), it.value());
        write(disk + QStringLiteral("/removable"), removable);
        write(disk + QStringLiteral("/size"), QByteArray::number(sectors));
        write(disk + QStringLiteral("/dev"), dev);
        link(disk, name);
        m_disks[name] = disk;
    }

    void addPartition(const QString& diskName, const QString& name, qint64 sectors, const char* dev)
    {
        const QString part = m_disks[diskName] + QLatin1Char('/') + name;
        QDir().mkpath(part);
        write(part + QStringLiteral("/partition"), "1");
        write(part + QStringLiteral("/size"), QByteArray::number(sectors));
        write(part + QStringLiteral("/dev"), dev);
        link(part, name);
    }

    // A loop device backed by a file.
    void addLoop(const QString& name, const QString& backingFile)
    {
        const QString dir = m_dir.filePath(QStringLiteral("devices/virtual/block/") + name);
        QDir().mkpath(dir + QStringLiteral("/loop"));
        write(dir + QStringLiteral("/loop/backing_file"), QFile::encodeName(backingFile) + "\n");
        write(dir + QStringLiteral("/removable"), "0");
        link(dir, name);
        QDir().mkpath(m_dir.filePath(QStringLiteral("block")));
        QFile::link(dir, m_dir.filePath(QStringLiteral("block/") + name));
    }

    QString writeMountInfo(const QByteArray& text)
    {
        const QString path = m_dir.filePath(QStringLiteral("mountinfo"));
        write(path, text);
        return path;
    }

    static void write(const QString& path, const QByteArray& text)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text);
    }

private:
    void link(const QString& target, const QString& name)
    {
        QDir().mkpath(m_dir.filePath(QStringLiteral("class/block")));
        QFile::link(target, m_dir.filePath(QStringLiteral("class/block/") + name));
    }

    QTemporaryDir m_dir;
    QMap<QString, QString> m_disks;
};

// The machine of the tests: a SATA system disk, an SD card in the laptop's built-in reader (the MMC driver says
// removable = 0), soldered eMMC storage on the same bus, a USB card reader that reports fixed media, a USB stick
// with a damaged file system, an empty USB reader slot and a second SATA disk.
void buildMachine(FakeSysfs& sys)
{
    sys.addDisk(QStringLiteral("pci0000:00/0000:00:17.0/ata1/host0/target0:0:0/0:0:0:0"), QStringLiteral("scsi"),
        QStringLiteral("sda"), "0", 500118192, "8:0", { { "vendor", "ATA     " }, { "model", "Samsung SSD 870" } });
    sys.addPartition(QStringLiteral("sda"), QStringLiteral("sda1"), 1048576, "8:1");
    sys.addPartition(QStringLiteral("sda"), QStringLiteral("sda2"), 499000000, "8:2");
    sys.addDisk(QStringLiteral("pci0000:00/0000:00:1c.0/0000:02:00.0/mmc_host/mmc0/mmc0:aaaa"), QStringLiteral("mmc"),
        QStringLiteral("mmcblk0"), "0", 62333952, "179:0", { { "type", "SD" }, { "name", "SD32G" } });
    sys.addPartition(QStringLiteral("mmcblk0"), QStringLiteral("mmcblk0p1"), 62325760, "179:1");
    sys.addDisk(QStringLiteral("platform/fe340000.mmc/mmc_host/mmc1/mmc1:0001"), QStringLiteral("mmc"),
        QStringLiteral("mmcblk1"), "0", 30777344, "179:32", { { "type", "MMC" }, { "name", "BJTD4R" } });
    sys.addPartition(QStringLiteral("mmcblk1"), QStringLiteral("mmcblk1p1"), 30000000, "179:33");
    sys.addDisk(QStringLiteral("pci0000:00/0000:00:14.0/usb1/1-2/1-2:1.0/host6/target6:0:0/6:0:0:0"),
        QStringLiteral("scsi"), QStringLiteral("sdb"), "0", 31116288, "8:16",
        { { "vendor", "Generic " }, { "model", "STORAGE DEVICE" } });
    sys.addPartition(QStringLiteral("sdb"), QStringLiteral("sdb1"), 31108096, "8:17");
    sys.addDisk(QStringLiteral("pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.0/host7/target7:0:0/7:0:0:0"),
        QStringLiteral("scsi"), QStringLiteral("sdc"), "1", 15523840, "8:32",
        { { "vendor", "SanDisk " }, { "model", "Ultra" } });
    sys.addDisk(QStringLiteral("pci0000:00/0000:00:14.0/usb1/1-4/1-4:1.0/host8/target8:0:0/8:0:0:0"),
        QStringLiteral("scsi"), QStringLiteral("sde"), "1", 0, "8:64");
    sys.addDisk(QStringLiteral("pci0000:00/0000:00:17.0/ata2/host1/target1:0:0/1:0:0:0"), QStringLiteral("scsi"),
        QStringLiteral("sdd"), "0", 976773168, "8:48");
    sys.addPartition(QStringLiteral("sdd"), QStringLiteral("sdd1"), 976771072, "8:49");
}

TEST(RemovableVolumes, OneRuleForUsbTheRemovableFlagAndSdCardsOnTheMmcBus)
{
    FakeSysfs sys;
    buildMachine(sys);
    struct Case
    {
        const char* device;
        bool removable;
    };
    const Case cases[] = {
        { "/dev/sda", false }, // SATA system disk
        { "/dev/sda2", false },
        { "/dev/mmcblk0", true }, // SD card in the built-in reader, removable = 0
        { "/dev/mmcblk0p1", true },
        { "/dev/mmcblk1", false }, // soldered eMMC: the machine's own storage
        { "/dev/mmcblk1p1", false },
        { "/dev/sdb1", true }, // USB card reader reporting fixed media
        { "/dev/sdc", true }, // USB stick without partitions
        { "/dev/sdd1", false }, // second SATA disk
        { "/dev/nosuch1", false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsRemovableBlockDevice(QString::fromLatin1(c.device), sys.root()), c.removable) << c.device;

    // The same rule decides the volumes the viewer opens at start-up and lists in the drive dialog.
    const QString mountInfo = sys.writeMountInfo("22 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
                                                 "40 22 8:17 / /media/u/KORVANE rw - vfat /dev/sdb1 rw\n"
                                                 "41 22 179:1 / /media/u/SD rw - vfat /dev/mmcblk0p1 rw\n"
                                                 "42 22 179:33 / /home rw - ext4 /dev/mmcblk1p1 rw\n"
                                                 "43 22 8:49 / /data rw - ext4 /dev/sdd1 rw\n");
    EXPECT_EQ(CreateRemovableVolumes(mountInfo, sys.root())->removableRoots(),
        QStringList({ "/media/u/KORVANE/", "/media/u/SD/" }));
    EXPECT_TRUE(
        CreateRemovableVolumes(sys.root() + QStringLiteral("/missing"), sys.root())->removableRoots().isEmpty());
}

TEST(RemovableVolumes, CardsWithoutAMountedVolumeAreListedByDeviceAndSize)
{
    FakeSysfs sys;
    buildMachine(sys);
    // The SD card is mounted by device numbers under another name; the USB reader's card is not mounted at all.
    const QString mountInfo = sys.writeMountInfo("22 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
                                                 "41 22 179:1 / /media/u/SD rw - vfat /dev/disk/by-label/SD rw\n");
    const QList<UnmountedCard> cards = CreateRemovableVolumes(mountInfo, sys.root())->unmountedCards();
    ASSERT_EQ(cards.size(), 2);
    // sdb1: the partition, not its disk; sdc: a disk without partitions. Not the empty slot sde, not the mounted
    // SD card, not the fixed disks' unmounted partitions.
    EXPECT_EQ(cards[0].device, QStringLiteral("/dev/sdb1"));
    EXPECT_EQ(cards[0].bytes, 31108096ULL * 512);
    EXPECT_EQ(cards[0].model, QStringLiteral("Generic STORAGE DEVICE"));
    EXPECT_EQ(cards[1].device, QStringLiteral("/dev/sdc"));
    EXPECT_EQ(cards[1].bytes, 15523840ULL * 512);
    EXPECT_EQ(cards[1].model, QStringLiteral("SanDisk Ultra"));

    const std::optional<BlockDeviceInfo> sd = BlockDeviceOf(QStringLiteral("/dev/mmcblk0p1"), sys.root());
    ASSERT_TRUE(sd);
    EXPECT_TRUE(sd->partition);
    EXPECT_EQ(sd->diskName, QStringLiteral("mmcblk0"));
    EXPECT_EQ(sd->diskPartitions, 1);
    EXPECT_EQ(sd->model, QStringLiteral("SD card SD32G"));
    EXPECT_EQ(sd->major, 179u);
    EXPECT_EQ(sd->minor, 1u);
    const std::optional<BlockDeviceInfo> sda = BlockDeviceOf(QStringLiteral("/dev/sda"), sys.root());
    ASSERT_TRUE(sda);
    EXPECT_EQ(sda->diskPartitions, 2);
}

// The mount table names /dev/loopN, not the image behind it: an image is mounted when a loop device backed by it
// is, and a folder is the card's mount only when the table says so.
TEST(CardDevices, SeeImagesThroughTheirLoopDevicesAndProveMounts)
{
    FakeSysfs sys;
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("card.img"));
    const QString other = dir.filePath(QStringLiteral("other.img"));
    FakeSysfs::write(image, QByteArray(4096, 'i'));
    FakeSysfs::write(other, QByteArray(4096, 'o'));
    sys.addLoop(QStringLiteral("loop7"), image);
    const QString mountInfo = sys.writeMountInfo("22 1 8:2 / / rw - ext4 /dev/sda2 rw\n"
                                                 "60 22 7:7 / /mnt/card rw - vfat /dev/loop7 rw\n"
                                                 "61 22 0:50 / /mnt/later rw - tmpfs tmpfs rw\n");
    const std::unique_ptr<platform::CardDevices> devices = platform::CreateCardDevices(mountInfo, sys.root());
    EXPECT_EQ(devices->mountPointOf(image).value_or(QString()), QStringLiteral("/mnt/card/"));
    EXPECT_FALSE(devices->mountPointOf(other));
    EXPECT_TRUE(devices->isMountOf(QStringLiteral("/mnt/card"), image));
    EXPECT_FALSE(devices->isMountOf(QStringLiteral("/mnt/card/"), other));
    EXPECT_FALSE(devices->isMountOf(QStringLiteral("/mnt/later"), image));
    EXPECT_FALSE(devices->isMountOf(QStringLiteral("/nowhere"), image));
    EXPECT_EQ(LoopBackingFile(QStringLiteral("/dev/loop7"), sys.root()), image);
    EXPECT_TRUE(LoopBackingFile(QStringLiteral("/dev/sda2"), sys.root()).isEmpty());
}

// The card's mount must come back where it was: a later mount over the same folder hides it.
TEST(CardDevices, TheLastMountOnAFolderIsTheOneThatCounts)
{
    FakeSysfs sys;
    QTemporaryDir dir;
    const QString image = dir.filePath(QStringLiteral("card.img"));
    FakeSysfs::write(image, QByteArray(4096, 'i'));
    const QString mountInfo = sys.writeMountInfo(QByteArray("60 22 7:7 / /mnt/card rw - vfat ")
        + QFile::encodeName(image) + " rw\n" + "61 60 0:50 / /mnt/card rw - tmpfs tmpfs rw\n");
    const std::unique_ptr<platform::CardDevices> devices = platform::CreateCardDevices(mountInfo, sys.root());
    EXPECT_FALSE(devices->isMountOf(QStringLiteral("/mnt/card"), image));
}

TEST(ElevationNeeded, RootNeverADeviceAlwaysAFileWhenNotWritable)
{
    struct
    {
        bool root, block, mayWrite, needed;
    } const cases[] = {
        { true, true, false, false },
        { true, false, false, false },
        { false, true, true, true }, // the "disk" group writes the device but may not unmount or mount it
        { false, true, false, true },
        { false, false, true, false }, // an image the user owns
        { false, false, false, true },
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::ElevationNeeded(c.root, c.block, c.mayWrite), c.needed) << c.root << c.block << c.mayWrite;
}

TEST(CardMountFlags, NoSetUserIdNoDevicesNothingExecutable)
{
    const unsigned long flags = platform::CardMountFlags();
    EXPECT_TRUE(flags & MS_NOSUID);
    EXPECT_TRUE(flags & MS_NODEV);
    EXPECT_TRUE(flags & MS_NOEXEC);
    EXPECT_FALSE(flags & MS_RDONLY);
}

} // namespace
