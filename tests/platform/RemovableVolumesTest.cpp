#include "platform/RemovableVolumes.h"
#include "platform/linux/MountInfo.h"

#include <gtest/gtest.h>

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

TEST(RemovableVolumes, ThisSystemListsRootsInOrder)
{
    const QStringList roots = CreateRemovableVolumes()->removableRoots();
    QStringList ordered = roots;
    ordered.sort();
    EXPECT_EQ(roots, ordered);
    for (const QString& root : roots)
        EXPECT_TRUE(root.endsWith(QLatin1Char('/'))) << root.toStdString();
}

} // namespace
