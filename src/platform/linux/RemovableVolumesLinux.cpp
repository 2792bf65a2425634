#include "platform/RemovableVolumes.h"
#include "platform/linux/MountInfo.h"

#include <QFile>

namespace {

QByteArray readAllOf(const QString& path, bool* ok)
{
    QFile file(path);
    *ok = file.open(QIODevice::ReadOnly);
    return *ok ? file.readAll() : QByteArray();
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
        bool ok = false;
        const QByteArray mounts = readAllOf(m_mountInfoPath, &ok);
        if (!ok)
            return {};
        const QString sysRoot = m_sysRoot;
        return RemovableRootsFromMountInfo(
            mounts, [&sysRoot](const QString& device) { return IsRemovableBlockDevice(device, sysRoot); });
    }

    QList<UnmountedCard> unmountedCards() const override
    {
        bool ok = false;
        const QByteArray mounts = readAllOf(m_mountInfoPath, &ok);
        if (!ok)
            return {};
        QList<UnmountedCard> cards;
        for (const BlockDeviceInfo& d : UnmountedRemovableDevices(mounts, m_sysRoot))
            cards.append({ d.devNode, d.bytes, d.model });
        return cards;
    }

private:
    QString m_mountInfoPath;
    QString m_sysRoot;
};

} // namespace

std::unique_ptr<RemovableVolumes> CreateRemovableVolumes(const QString& mountInfoPath, const QString& sysRoot)
{
    return std::make_unique<LinuxRemovableVolumes>(mountInfoPath, sysRoot);
}

std::unique_ptr<RemovableVolumes> CreateRemovableVolumes()
{
    return CreateRemovableVolumes(QStringLiteral("/proc/self/mountinfo"), QStringLiteral("/sys"));
}
