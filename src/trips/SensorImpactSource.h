#pragma once

#include "trips/TripImpactSource.h"

// Impacts read from each recording's own sensor samples, found the way the impact list and the graph's
// ticks find them, so a trip counts exactly the impacts the user can jump to.
class SensorImpactSource : public TripImpactSource
{
public:
    explicit SensorImpactSource(double thresholdG);

    bool available() const override { return true; }
    // A recording without a data file, or without a known length to place its samples on, has none.
    std::vector<int64_t> impactOffsetsMs(const TripRecording& recording) const override;

private:
    double m_thresholdG;
};
