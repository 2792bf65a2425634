#include "catalogue/DesktopBackup.h"

#include <QDate>
#include <QStandardPaths>
#include <QTime>

QString DesktopBackupFolder()
{
    QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (desktop.isEmpty())
        desktop = QStandardPaths::writableLocation(QStandardPaths::HomeLocation);
    return desktop + QStringLiteral("/KORVANE/");
}

QString CopyDestinationFolder(const QString& backupFolder, const QDateTime& at, bool eventBackup)
{
    const QDate d = at.date();
    const QTime t = at.time();
    QString folder = backupFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    const QString stamp = QString::asprintf("%d%02d%02d_%02d%02d", d.year(), d.month(), d.day(), t.hour(), t.minute());
    return folder + (eventBackup ? QStringLiteral("Event ") : QString()) + stamp + QLatin1Char('/');
}
