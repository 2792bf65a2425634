#include "sdcard/HelperPolicy.h"

#include <QDir>
#include <QFileInfo>

QStringList HelperPolicy::mediaFolders(const QString& userName)
{
    if (userName.isEmpty() || userName.contains(QLatin1Char('/')) || userName == QLatin1String("..")
        || userName == QLatin1String("."))
        return {};
    return { QStringLiteral("/media/") + userName, QStringLiteral("/run/media/") + userName };
}

QString HelperPolicy::resolved(const QString& path)
{
    QString existing = QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path));
    QStringList rest;
    while (!QFileInfo::exists(existing) && existing != QLatin1String("/")) {
        rest.prepend(QFileInfo(existing).fileName());
        existing = QFileInfo(existing).path();
    }
    QString base = QFileInfo(existing).canonicalFilePath();
    if (base.isEmpty())
        base = existing;
    for (const QString& part : rest)
        base += (base.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/")) + part;
    return QDir::cleanPath(base);
}

bool HelperPolicy::mountAtAllowed(const QString& requested, const QString& previousMountPoint, const QString& userName)
{
    if (requested.isEmpty())
        return false;
    const QString want = resolved(requested);
    if (!previousMountPoint.isEmpty() && want == resolved(previousMountPoint))
        return true;
    for (const QString& media : mediaFolders(userName)) {
        const QString base = resolved(media);
        if (want.startsWith(base + QLatin1Char('/')) && want.size() > base.size() + 1)
            return true;
    }
    return false;
}

bool HelperPolicy::regularFileAllowed(bool root, std::optional<uint32_t> owner, uint32_t invokingUid)
{
    if (!root)
        return true; // the file system's own permissions decide
    return owner && *owner == invokingUid;
}
