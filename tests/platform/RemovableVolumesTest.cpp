#include "platform/RemovableVolumes.h"
#include "platform/linux/MountInfo.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

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

// A device tree as the kernel shows it: class/block/<name> links into devices/..., a removable flag on
// the disk, a partition marker on partitions.
class FakeSysfs
{
public:
    FakeSysfs() { EXPECT_TRUE(m_dir.isValid()); }

    QString root() const { return m_dir.path(); }

    // disk: path of the disk below devices/; partition: empty for the disk itself.
    void addBlock(const QString& diskPath, const QString& partition, const char* removable)
    {
        const QString disk = m_dir.filePath(QStringLiteral("devices/") + diskPath);
        QDir().mkpath(disk);
        write(disk + QStringLiteral("/removable"), removable);
        QString target = disk;
        if (!partition.isEmpty()) {
            target = disk + QLatin1Char('/') + partition;
            QDir().mkpath(target);
            write(target + QStringLiteral("/partition"), "1");
        }
        QDir().mkpath(m_dir.filePath(QStringLiteral("class/block")));
        const QString name = partition.isEmpty() ? QFileInfo(disk).fileName() : partition;
        QFile::link(target, m_dir.filePath(QStringLiteral("class/block/") + name));
    }

    QString writeMountInfo(const QByteArray& text)
    {
        const QString path = m_dir.filePath(QStringLiteral("mountinfo"));
        write(path, text);
        return path;
    }

private:
    static void write(const QString& path, const QByteArray& text)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QTemporaryDir m_dir;
};

TEST(RemovableVolumes, JudgesDevicesFromTheDeviceTree)
{
    FakeSysfs sys;
    sys.addBlock(QStringLiteral("virtual/block/vda"), QString(), "0"); // the system disk
    sys.addBlock(QStringLiteral("virtual/block/vda"), QStringLiteral("vda1"), "0");
    sys.addBlock(QStringLiteral("pci0/usb1/1-1/host6/block/sdb"), QStringLiteral("sdb1"), "0"); // USB reader, fixed
    sys.addBlock(QStringLiteral("pci0/mmc0/block/mmcblk0"), QStringLiteral("mmcblk0p1"), "1"); // SD slot
    sys.addBlock(QStringLiteral("pci0/ata1/block/sdc"), QString(), "1"); // removable disk, no partitions
    sys.addBlock(QStringLiteral("pci0/ata2/block/sdd"), QStringLiteral("sdd1"), "0"); // second fixed disk

    struct Case
    {
        const char* device;
        bool removable;
    };
    const Case cases[] = {
        { "/dev/vda1", false },
        { "/dev/sdb1", true },
        { "/dev/mmcblk0p1", true },
        { "/dev/sdc", true },
        { "/dev/sdd1", false },
        { "/dev/nosuch1", false },
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsRemovableBlockDevice(QString::fromLatin1(c.device), sys.root()), c.removable) << c.device;

    const QString mountInfo = sys.writeMountInfo("22 1 254:1 / / rw - ext4 /dev/vda1 rw\n"
                                                 "40 22 8:17 / /media/u/KORVANE rw - vfat /dev/sdb1 rw\n"
                                                 "41 22 179:1 / /media/u/SD rw - vfat /dev/mmcblk0p1 rw\n"
                                                 "42 22 8:49 / /data rw - ext4 /dev/sdd1 rw\n");
    EXPECT_EQ(CreateRemovableVolumes(mountInfo, sys.root())->removableRoots(),
        QStringList({ "/media/u/KORVANE/", "/media/u/SD/" }));
    EXPECT_TRUE(CreateRemovableVolumes(sys.root() + QStringLiteral("/missing"), sys.root())->removableRoots().isEmpty());
}

} // namespace
