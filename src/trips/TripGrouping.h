#pragma once

#include "trips/RouteMeter.h"
#include "trips/TripList.h"

#include <vector>

class TripImpactSource;

// Joins recordings into trips. A recording joins the open trip while it starts within the gap limit of the
// latest end among the trip's driving recordings (normal and event); a later start opens a new trip.
// Parking recordings never touch that chain: each forms an entry of its own, and one that falls between
// two driving recordings does not break their trip. Span markers are not recordings and never reach here.
class TripGrouping
{
public:
    struct Options
    {
        int64_t maxGapMs = 120 * 1000;
        double maxSpeedMps = RouteMeter::kDefaultMaxSpeedMps;
    };

    // The recordings are ordered by start (then base name) and grouped; the figures of every entry are
    // computed. Recordings whose names give no start time are left out before (TripCardReader counts them).
    static TripList Group(std::vector<TripRecording> recordings, const Options& options);
    static TripList Group(std::vector<TripRecording> recordings) { return Group(std::move(recordings), Options()); }

    // Fills the recordings' impacts and the trips' impact counts from a source; an unavailable source
    // leaves every count empty.
    static void ApplyImpacts(TripList& list, const TripImpactSource& source);

private:
    static void computeFigures(TripList& list, Trip& trip, const Options& options);
};
