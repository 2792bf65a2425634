#pragma once

#include <QDateTime>
#include <QString>

// The desktop backup folder, Desktop/KORVANE/: copies, event backups, snapshots and repaired recordings
// when the card is full go there. It is created on demand with all missing parents by whoever writes into it.
QString DesktopBackupFolder();

// The folder of one copy ("20250314_0905/") or event backup ("Event 20250314_0905/") started at `at` (local
// time), under `backupFolder` (ending in "/"). The year is not padded; month, day, hour and minute are two
// digits.
QString CopyDestinationFolder(const QString& backupFolder, const QDateTime& at, bool eventBackup);
