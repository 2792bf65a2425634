#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// One entry of the card seen as drives: a trip (recordings joined while each starts soon after the
// previous one ends) or a parking recording on its own. Recordings are indexes into TripList::recordings,
// in time order.
struct Trip
{
    bool parking = false;
    int number = 0; // 1, 2, ... for trips in time order; 0 for a parking entry
    int64_t startMs = 0;
    int64_t endMs = 0;
    double distanceMetres = 0.0;
    int topSpeedKmh = 0;
    double averageSpeedKmh = 0.0; // distance over the time from start to end
    int events = 0; // event recordings among the trip's recordings
    std::optional<int> impacts; // nothing while no impact source is available
    std::vector<int> recordings;

    int64_t durationMs() const { return endMs - startMs; }
};
