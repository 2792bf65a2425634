#pragma once

#include <QByteArray>
#include <QString>

class CardFiles;

// The camera's settings file must survive a format: it is copied to the PC first and written back afterwards.
struct SettingsBackup
{
    static QString cardPath() { return QStringLiteral("Setup/setup.bin"); }
    // Desktop/KORVANE/Setup/setup.bin.
    static QString defaultBackupPath();

    bool existed = false; // the card had a settings file
    bool backedUp = false; // the backup was written and reads back identical
    QString backupPath;
    QByteArray content; // what the card held

    // Copies the card's settings file to the backup path (replacing an older backup).
    static SettingsBackup make(const CardFiles& card, const QString& backupPath = defaultBackupPath());
};

struct SettingsRestore
{
    bool attempted = false; // there was a backup to restore
    bool restored = false; // the card's file reads back identical to the backup
    bool backupDeleted = false;
    QString backupPath; // where the backup stays when it was not deleted
};

// Writes the backup back onto the card. The backup is deleted only when the card's file reads back identical;
// otherwise it stays on the PC so that the settings are never lost.
SettingsRestore RestoreSettings(const SettingsBackup& backup, CardFiles& card);
// When no proven place on the card is at hand: nothing is written, the backup stays where it is.
SettingsRestore KeepSettingsBackup(const SettingsBackup& backup);
