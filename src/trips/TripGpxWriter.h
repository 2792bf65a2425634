#pragma once

#include "trips/TripList.h"
#include "trips/TripRoute.h"

#include <QString>

class QIODevice;

// A trip as GPX 1.1: one track named after the trip, one segment per recording that has fixes, every
// accepted fix a track point with its camera-clock time.
class TripGpxWriter
{
public:
    static bool Write(QIODevice& device, const Trip& trip, const TripRoute& route);
    // Writes through a temporary file beside path, so a failed write never leaves half a file.
    static bool Write(const QString& path, const Trip& trip, const TripRoute& route);
};
