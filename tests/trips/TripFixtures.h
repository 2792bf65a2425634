#pragma once

#include "trips/RecordingStartTime.h"
#include "trips/TripRecording.h"

#include <QString>
#include <QStringList>

#include <cmath>
#include <numbers>
#include <ostream>

// Readable texts in the failure messages of comparisons of texts and text lists.
inline void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

// Recordings built in memory for the grouping and route tests.
namespace tripfixtures {

inline constexpr double kMetresPerDegreeLat = 6371008.8 * std::numbers::pi / 180.0;

// A recording of `seconds` seconds named after its start; no fixes.
inline TripRecording recording(RecordingKind kind, const char* base, int seconds)
{
    TripRecording r;
    r.kind = kind;
    r.baseName = QString::fromLatin1(base);
    r.startMs = RecordingStartTime::FromBaseName(r.baseName).value_or(-1);
    r.lengthMs = int64_t(seconds) * 1000;
    r.lengthSource = seconds > 0 ? TripRecording::LengthSource::DataSamples : TripRecording::LengthSource::None;
    return r;
}

// A recording driving north from (lat0, lon0) at metresPerSecond, one locked fix a second.
inline TripRecording driveNorth(
    RecordingKind kind, const char* base, int seconds, double lat0, double lon0, double metresPerSecond)
{
    TripRecording r = recording(kind, base, seconds);
    r.hasData = true;
    for (int k = 0; k < seconds; ++k) {
        TripFix f;
        f.second = k;
        f.locked = true;
        f.latitude = lat0 + k * metresPerSecond / kMetresPerDegreeLat;
        f.longitude = lon0;
        f.speedKmh = static_cast<int16_t>(metresPerSecond * 3.6);
        r.fixes.push_back(f);
    }
    return r;
}

} // namespace tripfixtures
