#pragma once

#include "trips/TripList.h"
#include "trips/TripRoute.h"

#include <QString>

class QIODevice;

// A trip as KML 2.2: one placemark named after the trip holding a multi-track with one time-stamped track
// per recording that has fixes (Google's gx:Track, which keeps the time of every point).
class TripKmlWriter
{
public:
    static bool Write(QIODevice& device, const Trip& trip, const TripRoute& route);
    static bool Write(const QString& path, const Trip& trip, const TripRoute& route);
};
