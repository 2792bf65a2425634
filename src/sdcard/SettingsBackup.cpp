#include "sdcard/SettingsBackup.h"

#include "sdcard/CardFiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

QString SettingsBackup::defaultBackupPath()
{
    return QDir(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation))
        .filePath(QStringLiteral("KORVANE/Setup/setup.bin"));
}

SettingsBackup SettingsBackup::make(const CardFiles& card, const QString& backupPath)
{
    SettingsBackup backup;
    backup.backupPath = backupPath;
    const std::optional<QByteArray> content = card.read(cardPath());
    if (!content)
        return backup;
    backup.existed = true;
    backup.content = *content;
    if (!QDir().mkpath(QFileInfo(backupPath).path()))
        return backup;
    QSaveFile file(backupPath);
    if (!file.open(QIODevice::WriteOnly) || file.write(*content) != content->size() || !file.commit())
        return backup;
    QFile check(backupPath);
    backup.backedUp = check.open(QIODevice::ReadOnly) && check.readAll() == *content;
    return backup;
}

SettingsRestore RestoreSettings(const SettingsBackup& backup, CardFiles& card)
{
    SettingsRestore restore;
    restore.backupPath = backup.backupPath;
    if (!backup.existed)
        return restore;
    restore.attempted = true;
    // The backup file is the copy that counts; the bytes in memory stand in when it could not be written.
    QByteArray content = backup.content;
    if (backup.backedUp) {
        QFile file(backup.backupPath);
        if (file.open(QIODevice::ReadOnly))
            content = file.readAll();
    }
    if (card.write(SettingsBackup::cardPath(), content)) {
        const std::optional<QByteArray> back = card.read(SettingsBackup::cardPath());
        restore.restored = back && *back == content;
    }
    if (restore.restored && backup.backedUp)
        restore.backupDeleted = QFile::remove(backup.backupPath);
    return restore;
}

SettingsRestore KeepSettingsBackup(const SettingsBackup& backup)
{
    SettingsRestore restore;
    restore.backupPath = backup.backupPath;
    restore.attempted = backup.existed;
    return restore;
}
