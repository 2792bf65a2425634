#pragma once

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

// A recording of a folder as the drive sequence sees it: where it lies in the list and when it starts.
struct DriveRecording
{
    QString videoPath;
    QString dataPath;
    QString fileName;
    QString kindLabel;
    QDateTime start; // camera local time, kept as a UTC-spec value so no zone rules apply to it
};

// The recordings of one folder in list order (base name, lower-cased, ascending), span markers left out.
// The camera names each file after the moment it started recording, so the list order is the drive's order.
class DriveSequence
{
public:
    static constexpr qint64 kJoinToleranceMs = 2000;

    // Scans the folder holding videoPath.
    static DriveSequence ofFolder(const QString& folder);

    const std::vector<DriveRecording>& recordings() const { return m_recordings; }
    int indexOf(const QString& videoPath) const;

    // The recording that continues `index` once it ends after durationMs: the first later one in list order
    // that starts after it and no later than its end (plus a small tolerance), one of the same kind first.
    std::optional<int> next(int index, qint64 durationMs) const;

    // "yyyyMMdd_HHmmss" at the start of a base name or file name (after the prefix); invalid when absent.
    static QDateTime startOfName(const QString& fileName);

private:
    std::vector<DriveRecording> m_recordings;
};
