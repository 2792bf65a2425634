#include "incident/DriveSequence.h"

#include "camera/CameraIdentification.h"
#include "catalogue/RecordingCatalogue.h"
#include "catalogue/RecordingNames.h"

#include <QDir>
#include <QFileInfo>

QDateTime DriveSequence::startOfName(const QString& fileName)
{
    QString name = QFileInfo(fileName).fileName();
    if (recording::kindFromName(name))
        name = name.mid(4);
    QDateTime t = QDateTime::fromString(name.left(15), QStringLiteral("yyyyMMdd_HHmmss"));
    if (t.isValid())
        t.setTimeSpec(Qt::UTC);
    return t;
}

DriveSequence DriveSequence::ofFolder(const QString& folder)
{
    DriveSequence sequence;
    RecordingCatalogue catalogue;
    const std::optional<CameraModel> model = IdentifyCameraModel(WithTrailingSeparator(folder));
    catalogue.setFolder(folder);
    catalogue.ScanCatalogueFolder(folder, model ? static_cast<int>(*model) : 0);
    std::vector<RecordingEntry> entries = catalogue.BuildCategoryEntries(ListCategory::All);
    SortEntriesByBaseName(entries);
    for (const RecordingEntry& e : entries) {
        if (e.spanMarker)
            continue;
        DriveRecording r;
        r.kindLabel = e.kindLabel;
        r.videoPath = catalogue.videoPath(e.kindLabel, e.baseName);
        r.dataPath = catalogue.dataPath(e.kindLabel, e.baseName);
        r.fileName = QFileInfo(r.videoPath).fileName();
        r.start = startOfName(r.fileName);
        sequence.m_recordings.push_back(r);
    }
    return sequence;
}

int DriveSequence::indexOf(const QString& videoPath) const
{
    const QString wanted = QFileInfo(videoPath).absoluteFilePath();
    for (size_t i = 0; i < m_recordings.size(); ++i) {
        if (QFileInfo(m_recordings[i].videoPath).absoluteFilePath() == wanted)
            return static_cast<int>(i);
    }
    return -1;
}

std::optional<int> DriveSequence::next(int index, qint64 durationMs) const
{
    if (index < 0 || index >= static_cast<int>(m_recordings.size()))
        return std::nullopt;
    const DriveRecording& current = m_recordings[static_cast<size_t>(index)];
    if (!current.start.isValid())
        return std::nullopt;
    const QDateTime end = current.start.addMSecs(durationMs);
    std::optional<int> anyKind;
    for (size_t i = static_cast<size_t>(index) + 1; i < m_recordings.size(); ++i) {
        const DriveRecording& r = m_recordings[i];
        if (!r.start.isValid() || r.start <= current.start)
            continue;
        if (r.start.msecsTo(end) < -kJoinToleranceMs)
            break; // later names start later still
        if (r.kindLabel == current.kindLabel)
            return static_cast<int>(i);
        if (!anyKind)
            anyKind = static_cast<int>(i);
    }
    return anyKind;
}
