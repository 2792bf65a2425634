#include "catalogue/RecordingDeletion.h"

#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingNames.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

int PositionAfterRemoval(int currentPosition, const std::vector<int>& removedRows)
{
    const auto before = std::count_if(removedRows.begin(), removedRows.end(), [currentPosition](int row) {
        return row < currentPosition;
    });
    return currentPosition - int(before);
}

DeletionOutcome DeleteRecordings(RecordingCatalogue& catalogue, const std::vector<SelectedRow>& rows,
    int currentPosition, const FileRemover& remover)
{
    const FileRemover remove = remover ? remover : FileRemover([](const QString& path) { return QFile::remove(path); });
    const QString folder = WithTrailingSeparator(catalogue.folder());
    const QString ext = catalogue.videoExtension();

    std::vector<SelectedRow> sorted = rows;
    std::sort(sorted.begin(), sorted.end(), [](const SelectedRow& a, const SelectedRow& b) { return a.index < b.index; });

    DeletionOutcome outcome;
    for (const SelectedRow& row : sorted) {
        if (row.index == currentPosition)
            outcome.currentSelected = true;
        bool gone = true;
        for (RecordingKind kind : { RecordingKind::Normal, RecordingKind::Event, RecordingKind::Parking }) {
            const QString video = folder + recording::prefix(kind) + row.baseName + ext;
            if (!QFileInfo::exists(video))
                continue;
            if (!remove(video)) {
                // The data file stays with a recording that stays.
                gone = false;
                outcome.failedFiles << video;
                break;
            }
            catalogue.RemoveCatalogueName(kind, video);
            const QString data = DataFilePath(video, ext);
            if (QFileInfo::exists(data) && !remove(data))
                outcome.failedFiles << data;
            break;
        }
        if (gone) {
            outcome.removedRows.push_back(row.index);
            if (row.index == currentPosition)
                outcome.currentDeleted = true;
        } else {
            outcome.keptRows.push_back(row.index);
        }
    }
    outcome.newPosition = PositionAfterRemoval(currentPosition, outcome.removedRows);
    return outcome;
}
