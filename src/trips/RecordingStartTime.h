#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// The start of a recording as the camera names it: "YYYYMMDD_HHMMSS" at the front of the base name (a
// sixteenth character may follow). Gives ms since 1970 of that wall-clock time read as UTC, or nothing
// for a name that is not a valid date and time.
class RecordingStartTime
{
public:
    static std::optional<int64_t> FromBaseName(const QString& baseName);
    // The wall-clock text of such a time, "YYYY-MM-DDTHH:MM:SS" (no zone: the camera keeps none).
    static QString IsoText(int64_t ms);
};
