#pragma once

#include <QString>

#include <optional>

// The three kinds of recording the camera writes, told apart by the file-name prefix.
enum class RecordingKind : int { Normal = 0, Event = 1, Parking = 2 };

// The filter of the recording list, cycled by its first header.
enum class ListCategory : int { All = 0, Event = 1, Parking = 2, Normal = 3 };

// One listed recording or span marker. The list rows hold the first four fields; the rest is derived.
struct RecordingEntry
{
    QString kindLabel; // "Normal", "Event" or "Parking"
    QString baseName; // date "_" time, optionally one more character
    // "start ~ end" for a span marker. A recording's date is its base name formatted: the build leaves the
    // text empty and sets dateFromBaseName, and EntryDateText (the list's column 2) formats it when asked,
    // so a card of tens of thousands of rows formats only the dates that are shown or sorted.
    QString dateText;
    std::optional<int> iconIndex; // 0..7; none for a base name of unusual length
    RecordingKind kind = RecordingKind::Normal;
    bool spanMarker = false;
    // A parking recording whose icon depends on its data file's parking-type byte. The build leaves the
    // read to RecordingCatalogue::ResolveEntryIcon (iconIndex holds 4, the icon of every other answer, until
    // then): a card may hold thousands of parking recordings, and reading each data file before the list
    // appears would cost thousands of reads on a slow card when only the visible rows need their icon.
    bool iconPending = false;
    bool dateFromBaseName = false;
    // A span marker whose end time is still in its marker file: dateText stays empty until
    // RecordingCatalogue::ResolveEntryDate reads it. Only a build for the list asks for this (the list reads
    // the markers of the rows it shows or sorts by date); every other build reads them at once.
    bool datePending = false;
};
