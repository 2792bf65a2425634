#include "camera/CameraIdentification.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// The entry of folder whose name equals name in any letter case, preferring the exact spelling.
QString findEntryIgnoringCase(const QString& folder, const QString& name, QDir::Filters kind)
{
    const QDir dir(folder);
    if (QFileInfo::exists(dir.filePath(name)))
        return dir.filePath(name);
    const QStringList entries = dir.entryList(kind | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString& entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return dir.filePath(name);
}

} // namespace

QString SetupFilePath(const QString& root)
{
    const QString base = root.isEmpty() ? QStringLiteral(".") : root;
    const QString folder = findEntryIgnoringCase(base, QStringLiteral("Setup"), QDir::Dirs);
    return findEntryIgnoringCase(folder, QStringLiteral("setup.bin"), QDir::Files);
}

CameraModel CameraModelFromSetupHead(const QByteArray& head)
{
    if (head.size() <= kModelCodeOffset)
        return CameraModel::Alpha;
    return CameraModelFromCode(static_cast<quint8>(head.at(kModelCodeOffset)));
}

CameraModel IdentifyCameraModelOfDevice(QIODevice& device)
{
    // A read that fails counts like a file too short to carry a model code.
    const QByteArray head = device.read(kIdentificationReadLength);
    return CameraModelFromSetupHead(head);
}

std::optional<CameraModel> IdentifyCameraModelOfFile(const QString& setupFilePath)
{
    // Identification only reads, so the file is opened read-only: a write-protected card or a read-only copy
    // of one is still recognised.
    QFile file(setupFilePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::ExistingOnly))
        return std::nullopt;
    return IdentifyCameraModelOfDevice(file);
}

std::optional<CameraModel> IdentifyCameraModel(const QString& root)
{
    return IdentifyCameraModelOfFile(SetupFilePath(root));
}
