#pragma once

#include "trips/TripImpactSource.h"

// The impact source of a build without impact detection: nothing is available.
class NoImpactSource : public TripImpactSource
{
public:
    bool available() const override { return false; }
    std::vector<int64_t> impactOffsetsMs(const TripRecording&) const override { return {}; }

    // The reason the trips give for their missing impact counts.
    static const char* Note() { return "impact detection is not available in this build"; }
};
