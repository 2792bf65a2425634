#include "platform/linux/MountInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

QByteArray readSmallFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.read(4096).trimmed();
}

// Device nodes are often links (/dev/disk/by-label/...): the kernel's name is the link's target.
QString kernelName(const QString& devicePath)
{
    const QString canonical = QFileInfo(devicePath).canonicalFilePath();
    return QFileInfo(canonical.isEmpty() ? devicePath : canonical).fileName();
}

QString canonicalOrEmpty(const QString& path)
{
    return QFileInfo(path).canonicalFilePath();
}

// The sysfs folder of the disk itself: a partition's folder sits inside its disk's.
QString diskFolder(const QString& sysBlock)
{
    const QString sysPath = canonicalOrEmpty(sysBlock);
    if (sysPath.isEmpty())
        return {};
    if (QFileInfo::exists(sysBlock + QStringLiteral("/partition")))
        return QFileInfo(sysPath).path();
    return sysPath;
}

bool diskIsRemovable(const QString& disk)
{
    if (disk.isEmpty())
        return false;
    // Card readers on USB often report fixed media.
    if (disk.contains(QLatin1String("/usb")))
        return true;
    if (readSmallFile(disk + QStringLiteral("/removable")) == "1")
        return true;
    // The MMC/SD driver reports removable = 0 even for a card in a slot. Soldered eMMC storage sits on the same
    // bus with the card type "MMC"; it is the machine's own disk.
    const QString subsystem = canonicalOrEmpty(disk + QStringLiteral("/device/subsystem"));
    if (subsystem.endsWith(QLatin1String("/bus/mmc")))
        return readSmallFile(disk + QStringLiteral("/device/type")) != "MMC";
    return false;
}

QString modelOf(const QString& disk)
{
    const QString vendor = QString::fromUtf8(readSmallFile(disk + QStringLiteral("/device/vendor"))).simplified();
    const QString model = QString::fromUtf8(readSmallFile(disk + QStringLiteral("/device/model"))).simplified();
    QString text = (vendor + QLatin1Char(' ') + model).simplified();
    if (text.isEmpty()) {
        // SD cards on the MMC bus name their product instead.
        const QString name = QString::fromUtf8(readSmallFile(disk + QStringLiteral("/device/name"))).simplified();
        if (!name.isEmpty())
            text = QStringLiteral("SD card ") + name;
    }
    return text;
}

int partitionsIn(const QString& disk)
{
    int count = 0;
    for (const QFileInfo& entry : QDir(disk).entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (QFileInfo::exists(entry.absoluteFilePath() + QStringLiteral("/partition")))
            ++count;
    }
    return count;
}

bool parseDevNumbers(const QByteArray& text, unsigned* major, unsigned* minor)
{
    const qsizetype colon = text.indexOf(':');
    if (colon <= 0)
        return false;
    bool okMajor = false, okMinor = false;
    *major = text.left(colon).toUInt(&okMajor);
    *minor = text.mid(colon + 1).toUInt(&okMinor);
    return okMajor && okMinor;
}

} // namespace

QList<MountEntry> ParseMountInfo(const QByteArray& mountInfo)
{
    QList<MountEntry> entries;
    for (const QByteArray& line : mountInfo.split('\n')) {
        // id parent major:minor root mount-point options [optional...] - fstype source super-options
        const QList<QByteArray> f = line.split(' ');
        const qsizetype dash = f.indexOf("-");
        if (f.size() < 6 || dash < 6 || dash + 2 >= f.size())
            continue;
        MountEntry e;
        e.mountPoint = UnescapeMountField(f[4]);
        if (!e.mountPoint.endsWith(QLatin1Char('/')))
            e.mountPoint += QLatin1Char('/');
        e.fsType = QString::fromLatin1(f[dash + 1]);
        e.source = UnescapeMountField(f[dash + 2]);
        e.mountOptions = f[5];
        if (dash + 3 < f.size())
            e.superOptions = f[dash + 3];
        parseDevNumbers(f[2], &e.major, &e.minor);
        entries.append(e);
    }
    return entries;
}

QStringList RemovableRootsFromMountInfo(
    const QByteArray& mountInfo, const std::function<bool(const QString& device)>& isRemovable)
{
    QStringList roots;
    for (const MountEntry& m : ParseMountInfo(mountInfo)) {
        if (!m.source.startsWith(QLatin1String("/dev/")) || !isRemovable(m.source))
            continue;
        if (!roots.contains(m.mountPoint))
            roots.append(m.mountPoint);
    }
    std::sort(roots.begin(), roots.end());
    return roots;
}

bool IsRemovableBlockDevice(const QString& devicePath, const QString& sysRoot)
{
    const QString name = kernelName(devicePath);
    if (name.isEmpty())
        return false;
    return diskIsRemovable(diskFolder(sysRoot + QStringLiteral("/class/block/") + name));
}

std::optional<BlockDeviceInfo> BlockDeviceOf(const QString& devicePath, const QString& sysRoot)
{
    const QString name = kernelName(devicePath);
    if (name.isEmpty())
        return std::nullopt;
    const QString sysBlock = sysRoot + QStringLiteral("/class/block/") + name;
    const QString own = canonicalOrEmpty(sysBlock);
    if (own.isEmpty())
        return std::nullopt;
    const QString disk = diskFolder(sysBlock);
    BlockDeviceInfo info;
    info.name = name;
    info.devNode = QStringLiteral("/dev/") + name;
    info.bytes = readSmallFile(own + QStringLiteral("/size")).toULongLong() * 512; // always 512-byte units
    parseDevNumbers(readSmallFile(own + QStringLiteral("/dev")), &info.major, &info.minor);
    info.partition = own != disk;
    info.diskName = QFileInfo(disk).fileName();
    info.diskPartitions = partitionsIn(disk);
    info.model = modelOf(disk);
    return info;
}

QList<BlockDeviceInfo> BlockDevices(const QString& sysRoot)
{
    QList<BlockDeviceInfo> devices;
    const QDir dir(sysRoot + QStringLiteral("/class/block"));
    for (const QString& name : dir.entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name)) {
        if (const std::optional<BlockDeviceInfo> info = BlockDeviceOf(QStringLiteral("/dev/") + name, sysRoot))
            devices.append(*info);
    }
    return devices;
}

QList<BlockDeviceInfo> UnmountedRemovableDevices(const QByteArray& mountInfo, const QString& sysRoot)
{
    const QList<MountEntry> mounts = ParseMountInfo(mountInfo);
    auto mounted = [&mounts](unsigned major, unsigned minor) {
        return std::any_of(mounts.begin(), mounts.end(),
            [&](const MountEntry& m) { return m.major != 0 && m.major == major && m.minor == minor; });
    };
    const QList<BlockDeviceInfo> all = BlockDevices(sysRoot);
    QList<BlockDeviceInfo> out;
    for (const BlockDeviceInfo& d : all) {
        if (d.bytes == 0 || (!d.partition && d.diskPartitions > 0) || mounted(d.major, d.minor))
            continue;
        if (!IsRemovableBlockDevice(d.devNode, sysRoot))
            continue;
        if (d.partition) {
            const auto disk
                = std::find_if(all.begin(), all.end(), [&d](const BlockDeviceInfo& o) { return o.name == d.diskName; });
            if (disk != all.end() && mounted(disk->major, disk->minor))
                continue;
        }
        out.append(d);
    }
    return out;
}

QString LoopBackingFile(const QString& devicePath, const QString& sysRoot)
{
    const QString name = kernelName(devicePath);
    if (!name.startsWith(QLatin1String("loop")))
        return {};
    QString file = QString::fromLocal8Bit(
        readSmallFile(sysRoot + QStringLiteral("/block/") + name + QStringLiteral("/loop/backing_file")));
    const QLatin1String deleted(" (deleted)");
    if (file.endsWith(deleted))
        file.chop(deleted.size());
    return file;
}

QString UnescapeMountField(const QByteArray& field)
{
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int code = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(static_cast<char>(code));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return QFile::decodeName(out);
}
