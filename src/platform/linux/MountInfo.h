#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <optional>

// The kernel's own account of mounts (/proc/self/mountinfo) and block devices (sysfs), read from files so that
// tests can lay out the trees the kernel shows.

struct MountEntry
{
    QString mountPoint; // "/"-terminated
    QString source; // the device the mount names (as the mount table spells it)
    QString fsType;
    QByteArray mountOptions;
    QByteArray superOptions;
    unsigned major = 0; // of the mounted device (0 for virtual file systems)
    unsigned minor = 0;
};

// The lines of mountinfo text, in table order (later mounts on the same point hide earlier ones).
QList<MountEntry> ParseMountInfo(const QByteArray& mountInfo);

// The roots ("/"-terminated mount points, sorted, each once) of the mounts listed in /proc/self/mountinfo
// text whose source device the predicate calls removable.
QStringList RemovableRootsFromMountInfo(
    const QByteArray& mountInfo, const std::function<bool(const QString& device)>& isRemovable);

// The one rule for removable media, judged from the sysfs tree under sysRoot: the disk (or the disk of a
// partition) hangs off USB, says removable = 1, or is an SD card on the MMC bus (whose driver reports
// removable = 0 for a card in a built-in slot).
bool IsRemovableBlockDevice(const QString& devicePath, const QString& sysRoot);

// What sysfs tells of a block device (a disk or a partition).
struct BlockDeviceInfo
{
    QString name; // kernel name: "sdb1", "mmcblk0"
    QString devNode; // "/dev/" + name
    uint64_t bytes = 0;
    unsigned major = 0;
    unsigned minor = 0;
    bool partition = false;
    QString diskName; // the disk holding it (its own name for a disk)
    int diskPartitions = 0; // partitions of that disk
    QString model; // vendor and model of the disk, or the SD card's product name
};

// The block device `devicePath` names (a device node or a link to one), judged by its kernel name.
std::optional<BlockDeviceInfo> BlockDeviceOf(const QString& devicePath, const QString& sysRoot);
// Every block device sysfs lists, by name.
QList<BlockDeviceInfo> BlockDevices(const QString& sysRoot);

// The removable devices that carry no mounted volume: a disk without partitions, or a partition, of non-zero
// size, not mounted (by major:minor) and whose disk is not mounted either. What a damaged or unformatted card
// looks like.
QList<BlockDeviceInfo> UnmountedRemovableDevices(const QByteArray& mountInfo, const QString& sysRoot);

// The file behind a loop device (/sys/block/loopN/loop/backing_file); empty for anything else.
QString LoopBackingFile(const QString& devicePath, const QString& sysRoot);

// /proc/self/mountinfo escapes blanks, tabs, newlines and backslashes in its fields as \ooo.
QString UnescapeMountField(const QByteArray& field);
