#pragma once

#include "catalogue/CopyJob.h"
#include "catalogue/RecordingDeletion.h"

#include <QDateTime>
#include <QString>

#include <vector>

class QWidget;
class RecordingCatalogue;

// What the Copy, Save all event files and Delete commands need of the main window. The main window
// implements it and calls the commands from buttons 1029 (Copy), 1030 and menu 32802 (Save all event files),
// 1028 and the Delete key (Delete).
class RecordingCommandHost
{
public:
    virtual ~RecordingCommandHost() = default;

    // Parent of the message boxes and of the copy dialog.
    virtual QWidget* commandParent() = 0;
    virtual RecordingCatalogue& catalogue() = 0;
    // The selected rows in ascending index order: index, column 0 (kind label) and column 1 (base name).
    virtual std::vector<SelectedRow> selectedRows() = 0;

    // The main window's playing state and its player.
    virtual bool isPlaying() const = 0;
    virtual bool hasPlayer() const = 0;
    // The player's pause toggle: pauses a playing recording, resumes a paused one.
    virtual void togglePause() = 0;
    // After the copy commands paused playback: clear the playing state, hide Pause and show Play.
    virtual void showStopped() = 0;
    // Before the recording open in the player is deleted: the player notes its time, stops (when it
    // exists) and lets the file go.
    virtual void releaseCurrentRecording() = 0;

    // The current list position (the row open in the player) and the list.
    virtual int currentPosition() const = 0;
    virtual void setCurrentPosition(int position) = 0;
    virtual void removeRow(int row) = 0;
    // Caption: the current recording's base name and "(position + 1/rows)".
    virtual void refreshCaption() = 0;
    // Clear selection and focus, select the row at the current position, scroll to it, focus the list.
    virtual void selectCurrentRow() = 0;
    virtual void openListRow(int index) = 0;

    // Where copies go, and the clock of their folder names; tests put their own in.
    virtual QString desktopBackupFolder();
    virtual QDateTime now();
};

// Copy (button 1029): asks, then copies the selected recordings with their data files into
// Desktop/KORVANE/<yyyymmdd_hhmm>/ behind the copy dialog. Files that could not be copied are named
// afterwards. Returns the number of files that failed.
int CopySelectedRecordings(RecordingCommandHost& host);

// Save all event files (button 1030, menu 32802): copies every event recording and its data file into
// Desktop/KORVANE/Event <yyyymmdd_hhmm>/ without asking.
int SaveAllEventFiles(RecordingCommandHost& host);

// Delete (button 1028, the Delete key): asks, deletes the selected recordings and their data files, takes
// the deleted rows out of the list and keeps the player on the same recording, or opens the row that moved
// into the deleted current row's place. Rows whose files could not be deleted stay and are named.
// `remover` lets tests fail chosen deletions.
DeletionOutcome DeleteSelectedRecordings(RecordingCommandHost& host, const FileRemover& remover = {});
