#pragma once

#include "catalogue/RecordingEntry.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The rules that turn recording file names into list texts and back. Every part that touches a recording
// rebuilds its file name from a list row with these.
namespace recording {

inline const QString kAviExtension = QStringLiteral(".avi");
inline const QString kMp4Extension = QStringLiteral(".mp4");
inline const QString kMarkerExtension = QStringLiteral(".vlm");
inline const QString kDataExtension = QStringLiteral(".dat");

QString prefix(RecordingKind kind); // "rec_", "evt_", "pmr_"
QString kindLabel(RecordingKind kind); // "Normal", "Event", "Parking"
std::optional<RecordingKind> kindFromLabel(const QString& label);
// The kind whose prefix starts the name (case-sensitive), if any.
std::optional<RecordingKind> kindFromName(const QString& fileName);
// Everything from the last dot, or nothing when the name has no dot.
QString extensionOf(const QString& fileName);

// The icon a row shows; parkingType is ReadParkingType's answer for the recording's data file and is
// consulted only for parking recordings with a 15-character base name.
std::optional<int> iconIndex(RecordingKind kind, const QString& baseName, int parkingType);
// Skin bitmap of each icon index, in image-list order.
int iconBitmapId(int iconIndex);

} // namespace recording

QString MakeBaseName(const QString& fileName, const QString& videoExtension);
QString FormatEntryDate(const QString& baseName);
// The date text a row shows: the entry's own, or its base name formatted when the build left that for later.
QString EntryDateText(const RecordingEntry& entry);
QString MakeRecordingFileName(const QString& kindLabel, const QString& baseName, const QString& videoExtension);
QString BaseNameFromRow(const QString& column1Text);
// base name + "|" + start time + " ~ " + end time, the end time read from the marker file.
QString ReadSpanMarkerText(const QString& markerPath, const QString& baseName);

// The data file of a recording: the video extension at the end of the path becomes ".dat". Only the
// end of the path is touched, so folders whose names contain the extension stay intact.
QString DataFilePath(const QString& videoPath, const QString& videoExtension);

// Orders rows as the list does after a fill: by base name, lower-cased, ordinally; equal names keep their
// order.
void SortEntriesByBaseName(std::vector<RecordingEntry>& entries, bool ascending = true);
