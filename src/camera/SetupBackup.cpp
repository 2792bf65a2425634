#include "camera/SetupBackup.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QStandardPaths>

namespace setupbackup {
namespace {

QString& folderOverride()
{
    static QString value;
    return value;
}

// Canonical setup.bin path -> the bytes this session last wrote there.
QHash<QString, QByteArray>& written()
{
    static QHash<QString, QByteArray> map;
    return map;
}

QString keyOf(const QString& setupPath)
{
    const QString canonical = QFileInfo(setupPath).canonicalFilePath();
    return canonical.isEmpty() ? QFileInfo(setupPath).absoluteFilePath() : canonical;
}

} // namespace

void setFolder(const QString& folder)
{
    folderOverride() = folder;
}

QString folder()
{
    if (!folderOverride().isEmpty())
        return folderOverride();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return QDir(data).filePath(QStringLiteral("Velmora Korvane/setup-backups"));
}

QString cardName(const QString& setupPath)
{
    // <card root>/Setup/setup.bin
    const QFileInfo file(QFileInfo(setupPath).absoluteFilePath());
    const QString root = QFileInfo(file.absolutePath()).absolutePath();
    QString name = QFileInfo(root).fileName();
    QString clean;
    for (const QChar c : name) {
        if (c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('_'))
            clean += c;
    }
    return clean.isEmpty() ? QStringLiteral("card") : clean;
}

bool keepBeforeWrite(const QString& setupPath, const QByteArray& previous, QString* backupPath)
{
    if (backupPath)
        backupPath->clear();
    const auto it = written().constFind(keyOf(setupPath));
    if (it != written().constEnd() && *it == previous)
        return true;

    const QDir dir(folder());
    if (!dir.mkpath(QStringLiteral(".")))
        return false;
    const QString stem = cardName(setupPath) + QLatin1Char('-')
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString path = dir.filePath(stem + QStringLiteral("-setup.bin"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(stem + QStringLiteral("-%1-setup.bin").arg(n));

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(previous) != previous.size() || !file.commit())
        return false;
    if (backupPath)
        *backupPath = path;
    return true;
}

void noteWritten(const QString& setupPath, const QByteArray& bytes)
{
    written().insert(keyOf(setupPath), bytes);
}

void resetSession()
{
    written().clear();
}

} // namespace setupbackup
