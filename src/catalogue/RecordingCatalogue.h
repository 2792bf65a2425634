#pragma once

#include "catalogue/RecordingEntry.h"

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// The recordings of the open card or folder, known purely by their file names: three name lists by kind,
// the copies the All view keeps, and the number of span markers in each list. The main window owns one.
class RecordingCatalogue
{
public:
    // Fills the lists from one folder. The first recording the enumeration meets decides between AVI and
    // MP4; models 4 and 5 record MP4 and always count as a card (an empty one included).
    bool ScanCatalogueFolder(const QString& folder, int modelIndex);

    // When a span marker's end time is read from its file: during the build, or when the list shows the row.
    enum class MarkerDates { Read, WhenShown };

    // The rows of a category in insertion order. May drop leading span markers from the name lists.
    // Parking rows that need their data file come back with iconPending set; with MarkerDates::WhenShown,
    // span markers come back with datePending set (a card may hold hundreds, one file read each).
    std::vector<RecordingEntry> BuildCategoryEntries(
        ListCategory category, MarkerDates markerDates = MarkerDates::Read);

    // Reads the parking-type byte of a pending parking row and sets its icon (5 for type 1, else 4).
    // The list calls it for the rows it shows; it does nothing for any other row.
    void ResolveEntryIcon(RecordingEntry& entry) const;
    void ResolveEntryIcons(std::vector<RecordingEntry>& entries) const;
    // Reads the end time of a span marker row left pending and sets its date text; nothing for other rows.
    void ResolveEntryDate(RecordingEntry& entry) const;

    // Forgets a deleted recording: the folder text is taken out of the path and the first equal name of
    // that kind is removed, from the name list and from the All view's saved copy.
    void RemoveCatalogueName(RecordingKind kind, const QString& fullPath);

    QString folder() const { return m_folder; }
    void setFolder(const QString& folder);
    bool isMp4() const { return m_mp4; }
    QString videoExtension() const;

    const QStringList& names(RecordingKind kind) const { return m_names[index(kind)]; }
    const QStringList& savedNames(RecordingKind kind) const { return m_saved[index(kind)]; }
    int markerCount(RecordingKind kind) const { return m_markerCounts[index(kind)]; }

    // The video and data file of a list row.
    QString videoPath(const QString& kindLabel, const QString& baseName) const;
    QString dataPath(const QString& kindLabel, const QString& baseName) const;

private:
    static size_t index(RecordingKind kind) { return static_cast<size_t>(kind); }
    RecordingEntry makeEntry(QString baseName, RecordingKind kind, MarkerDates markerDates) const;
    void fillEntry(RecordingEntry& entry, QString baseName, RecordingKind kind, MarkerDates markerDates) const;
    QString markerPath(RecordingKind kind, const QString& baseName) const;
    void dropLeadingMarkersOfAll(std::array<std::vector<QString>, 3>& baseNames);

    // The base names the scan cut from the raw names as it listed them (a part of each name, nothing decoded
    // twice), used by the next All view as long as its name lists are still those the scan made (shared with
    // the copies kept here).
    struct ScannedBases
    {
        QStringList names;
        std::vector<QString> bases;
    };
    bool takeScannedBases(std::array<std::vector<QString>, 3>& bases);

    QString m_folder;
    bool m_mp4 = false;
    std::array<ScannedBases, 3> m_scanned;
    std::array<QStringList, 3> m_names;
    std::array<QStringList, 3> m_saved;
    std::array<int, 3> m_markerCounts { 0, 0, 0 };
};

// Ends a folder text with the path separator.
QString WithTrailingSeparator(const QString& folder);
