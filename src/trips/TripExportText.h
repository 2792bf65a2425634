#pragma once

#include "trips/TripList.h"

#include <QString>

// Texts the trip exports share: the track's name and its one-line summary, and the camera-clock time
// stamps of the points.
class TripExportText
{
public:
    // "Trip 2, 2026-03-01 08:00 to 08:42".
    static QString Name(const Trip& trip);
    // "25.3 km in 42 min, top 96 km/h, average 36 km/h, 2 events".
    static QString Summary(const Trip& trip);
    // "2026-03-01T08:00:05": the camera's wall clock, which keeps no zone, so none is claimed.
    static QString TimeStamp(int64_t ms);
    // Coordinates with seven decimals (about a centimetre), always with a dot.
    static QString Coordinate(double degrees);
};
