#pragma once

#include "trips/TripGrouping.h"
#include "trips/TripList.h"

#include <QString>

#include <optional>

class RecordingCatalogue;

// Reads a card or folder as trips: the recordings the catalogue finds (span markers left out), each with
// its start from its name, its GPS fixes from its data file and its length from the data file's GPS count
// (one record per second of video), else from the video file's header.
class TripCardReader
{
public:
    // Scans folder with the model index (the identification of the folder's settings file when none is
    // given, else 0) and groups what it finds. False when the folder cannot be read.
    static bool Read(
        const QString& folder, std::optional<int> modelIndex, const TripGrouping::Options& options, TripList& out);

    // The same from a catalogue already scanned (the viewer's own).
    static TripList FromCatalogue(const RecordingCatalogue& catalogue, const TripGrouping::Options& options);

    // One recording; nothing when its name gives no start time.
    static std::optional<TripRecording> ReadRecording(
        RecordingKind kind, const QString& baseName, const QString& videoPath, const QString& dataPath);
};
