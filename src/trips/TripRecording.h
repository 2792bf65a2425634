#pragma once

#include "catalogue/RecordingEntry.h"

#include <QString>

#include <cstdint>
#include <vector>

// One second of a recording's GPS table, as the trip figures and the route read it.
struct TripFix
{
    double latitude = 0.0; // decimal degrees
    double longitude = 0.0;
    int32_t second = 0; // record index: the fix belongs to start + second x 1000 ms
    int16_t speedKmh = 0;
    bool locked = false; // the record holds a position (fix field not 0)
};

// What the trips need of one recording: when it starts and how long it runs by the camera's clock, its
// kind, and its GPS fixes. Times are milliseconds of the camera's wall clock counted as if it were UTC (the
// card does not say which zone the camera kept), so that day boundaries and gaps are plain arithmetic.
struct TripRecording
{
    enum class LengthSource { DataSamples, VideoHeader, None };

    RecordingKind kind = RecordingKind::Normal;
    QString baseName;
    QString videoPath;
    QString dataPath;
    int64_t startMs = 0;
    int64_t lengthMs = 0;
    LengthSource lengthSource = LengthSource::None;
    bool hasData = false; // the data file loaded
    std::vector<TripFix> fixes;
    // Impacts within the recording, ms from its start; filled by an impact source when one is available.
    std::vector<int64_t> impactOffsetsMs;

    int64_t endMs() const { return startMs + lengthMs; }
};

QString LengthSourceName(TripRecording::LengthSource source);
