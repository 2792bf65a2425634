#pragma once

#include "trips/TripRecording.h"

#include <cstdint>
#include <vector>

// Where the trips get their impacts from. Impact detection is a subsystem of its own; until one is plugged
// in, NoImpactSource answers and the trips report their impacts as not available (not as zero).
class TripImpactSource
{
public:
    virtual ~TripImpactSource() = default;
    virtual bool available() const = 0;
    // Impacts of one recording, ms from its start.
    virtual std::vector<int64_t> impactOffsetsMs(const TripRecording& recording) const = 0;
};
