#include "platform/RemovableVolumes.h"
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
    return f.read(64).trimmed();
}

class LinuxRemovableVolumes : public RemovableVolumes
{
public:
    LinuxRemovableVolumes(QString mountInfoPath, QString sysRoot)
        : m_mountInfoPath(std::move(mountInfoPath))
        , m_sysRoot(std::move(sysRoot))
    {
    }

    QStringList removableRoots() const override
    {
        QFile mounts(m_mountInfoPath);
        if (!mounts.open(QIODevice::ReadOnly))
            return {};
        const QString sysRoot = m_sysRoot;
        return RemovableRootsFromMountInfo(
            mounts.readAll(), [&sysRoot](const QString& device) { return IsRemovableBlockDevice(device, sysRoot); });
    }

private:
    QString m_mountInfoPath;
    QString m_sysRoot;
};

} // namespace

QStringList RemovableRootsFromMountInfo(
    const QByteArray& mountInfo, const std::function<bool(const QString& device)>& isRemovable)
{
    QStringList roots;
    const QList<QByteArray> lines = mountInfo.split('\n');
    for (const QByteArray& line : lines) {
        // id parent major:minor root mount-point options [optional...] - fstype source super-options
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 5 || dash < 5 || dash + 2 >= fields.size())
            continue;
        const QString source = UnescapeMountField(fields[dash + 2]);
        if (!source.startsWith(QLatin1String("/dev/")) || !isRemovable(source))
            continue;
        QString root = UnescapeMountField(fields[4]);
        if (!root.endsWith(QLatin1Char('/')))
            root += QLatin1Char('/');
        if (!roots.contains(root))
            roots.append(root);
    }
    std::sort(roots.begin(), roots.end());
    return roots;
}

// A block device counts as removable when its disk says so, or when it hangs off a USB bus (card readers
// often report fixed media).
bool IsRemovableBlockDevice(const QString& devicePath, const QString& sysRoot)
{
    // Device nodes are often links (/dev/disk/by-label/...): the kernel's name is the link's target.
    const QString canonical = QFileInfo(devicePath).canonicalFilePath();
    const QString name = QFileInfo(canonical.isEmpty() ? devicePath : canonical).fileName();
    if (name.isEmpty())
        return false;
    const QString sysBlock = sysRoot + QStringLiteral("/class/block/") + name;
    const QString sysPath = QFileInfo(sysBlock).canonicalFilePath();
    if (sysPath.isEmpty())
        return false;
    if (sysPath.contains(QLatin1String("/usb")))
        return true;
    if (readSmallFile(sysBlock + QStringLiteral("/removable")) == "1")
        return true;
    // A partition: ask its disk.
    if (QFileInfo::exists(sysBlock + QStringLiteral("/partition")))
        return readSmallFile(QFileInfo(sysPath).path() + QStringLiteral("/removable")) == "1";
    return false;
}

std::unique_ptr<RemovableVolumes> CreateRemovableVolumes(const QString& mountInfoPath, const QString& sysRoot)
{
    return std::make_unique<LinuxRemovableVolumes>(mountInfoPath, sysRoot);
}

std::unique_ptr<RemovableVolumes> CreateRemovableVolumes()
{
    return CreateRemovableVolumes(QStringLiteral("/proc/self/mountinfo"), QStringLiteral("/sys"));
}

// /proc/self/mountinfo escapes blanks, tabs, newlines and backslashes in paths as \ooo.
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
