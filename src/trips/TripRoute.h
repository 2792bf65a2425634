#pragma once

#include "trips/RouteMeter.h"
#include "trips/TripList.h"

#include <vector>

// The route of one trip as the map and the exports draw it: per recording (in order) its accepted fixes,
// on the camera clock. The same filter that measures the trip's distance picks the points, so what is
// drawn is what was counted.
struct TripRoute
{
    struct Segment
    {
        int recording = -1; // index into TripList::recordings
        std::vector<RouteMeter::Point> points;
    };

    std::vector<Segment> segments;
    double distanceMetres = 0.0;
    int topSpeedKmh = 0;

    int pointCount() const;

    // Runs the fixes of the trip's recordings through one meter. With keepPoints false only the figures
    // are filled (no segments), which is what grouping a whole card needs.
    static TripRoute Build(const TripList& list, const Trip& trip, bool keepPoints = true,
        double maxSpeedMps = RouteMeter::kDefaultMaxSpeedMps);
};
