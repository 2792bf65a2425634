#pragma once

#include "trips/Trip.h"
#include "trips/TripRecording.h"

#include <optional>
#include <vector>

// The card as drives: every recording with a start time, and the entries (trips and parking recordings)
// ordered by start. Recordings whose names give no start time are only counted.
struct TripList
{
    std::vector<TripRecording> recordings; // in time order
    std::vector<Trip> entries;
    int unplaced = 0;
    bool impactsAvailable = false;

    // The trip numbered n (from 1), if there is one.
    const Trip* trip(int number) const;
    int tripCount() const;
    // The entry that holds recording index r, if any.
    const Trip* entryOfRecording(int recording) const;
};
