#include "incident/RecordingImpacts.h"

#include "incident/MediaProbe.h"
#include "sensor/SensorDataTables.h"

RecordingImpacts FindRecordingImpacts(const QString& videoPath, const QString& dataPath, double thresholdG)
{
    RecordingImpacts result;
    result.videoPath = videoPath;
    result.dataPath = dataPath;
    SensorDataTables tables;
    tables.load(dataPath);
    result.sensorCount = tables.sensorCount();
    result.dataLoaded = tables.sensorCount() > 0;
    const MediaInfo media = ProbeMedia(videoPath);
    if (media.ok) {
        result.durationMs = media.durationMs;
        result.durationFromVideo = true;
    } else {
        result.durationMs = static_cast<qint64>(tables.gpsCount()) * 1000;
    }
    result.impacts = ImpactFinder(thresholdG).find(tables.sensorTable(), result.durationMs);
    return result;
}
