#pragma once

#include <QByteArray>
#include <QString>

// Copies of the camera's settings file kept on the PC before the viewer first writes a card's file, so that a
// wrong change can be undone by hand. Copies go to "<data folder>/setup-backups/<card>-<yyyyMMdd-HHmmss>-setup.bin",
// the data folder being the user's ("~/.local/share/Velmora Korvane") unless set otherwise.
namespace setupbackup {

// The folder that receives the copies; tests point it elsewhere. An empty folder restores the default.
void setFolder(const QString& folder);
QString folder();

// Keeps `previous` (the file's current contents) unless this session already wrote exactly these bytes to
// this file: a card's first save in a session is backed up, later saves of the same card are not, but a card
// put in its place (other bytes) is backed up again. Returns false when a copy was due and could not be made.
// `backupPath`, when given, receives the copy's path (empty when none was due).
bool keepBeforeWrite(const QString& setupPath, const QByteArray& previous, QString* backupPath = nullptr);

// Records that the session wrote these bytes to the file.
void noteWritten(const QString& setupPath, const QByteArray& written);

// Forgets what the session wrote (for tests).
void resetSession();

// The card's name used in a copy's file name: the folder that holds "Setup" (its mount point's name),
// reduced to letters, digits, "-" and "_"; "card" when nothing is left.
QString cardName(const QString& setupPath);

} // namespace setupbackup
