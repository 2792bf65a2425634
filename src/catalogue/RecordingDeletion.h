#pragma once

#include "catalogue/CopyJob.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class RecordingCatalogue;

// Deleting selected recordings from the card. The files are deleted first and a row leaves the list only
// when its recording is really gone: a recording whose file cannot be deleted (read-only card, locked file)
// keeps its row and is reported, instead of a row that vanishes while the file stays on the card.

// Removes one file; the default is QFile::remove. Tests put a failing one in.
using FileRemover = std::function<bool(const QString& path)>;

struct DeletionOutcome
{
    // Rows to take out of the list, ascending; remove the j-th of them at index row - j.
    std::vector<int> removedRows;
    // Selected rows that stay because their recording could not be deleted.
    std::vector<int> keptRows;
    // Files that are still on the card although they should have gone (videos and data files).
    QStringList failedFiles;
    // The row the player had open was selected (the player let the recording go before the delete).
    bool currentSelected = false;
    // That row's recording is gone.
    bool currentDeleted = false;
    // The current list position after the rows are removed.
    int newPosition = 0;
};

// Where the current row ends up after `removedRows` (ascending) leave the list: one lower for every removed
// row before it. When the current row itself is removed, the row that moves into its place is there (or the
// position is one past the end when it was the last row).
int PositionAfterRemoval(int currentPosition, const std::vector<int>& removedRows);

// For each row (ascending index) the first existing file of "rec_", "evt_" and "pmr_" + base name + the
// catalogue's video extension is deleted, then its data file; a deleted recording leaves the catalogue. A row
// with no such file is removed from the list without deleting anything.
DeletionOutcome DeleteRecordings(RecordingCatalogue& catalogue, const std::vector<SelectedRow>& rows,
    int currentPosition, const FileRemover& remover = {});
