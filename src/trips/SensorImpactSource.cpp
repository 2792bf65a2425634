#include "trips/SensorImpactSource.h"

#include "incident/ImpactFinder.h"
#include "sensor/SensorDataTables.h"

SensorImpactSource::SensorImpactSource(double thresholdG)
    : m_thresholdG(thresholdG)
{
}

std::vector<int64_t> SensorImpactSource::impactOffsetsMs(const TripRecording& recording) const
{
    if (!recording.hasData || recording.dataPath.isEmpty() || recording.lengthMs <= 0)
        return {};
    SensorDataTables tables;
    tables.load(recording.dataPath);
    std::vector<int64_t> offsets;
    for (const Impact& impact : ImpactFinder(m_thresholdG).find(tables.sensorTable(), recording.lengthMs))
        offsets.push_back(impact.timeMs);
    return offsets;
}
