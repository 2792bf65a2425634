#pragma once

#include "sensor/SidecarDataFile.h"

#include <QtGlobal>

#include <vector>

// One impact of a recording: the samples whose acceleration change passed the threshold (or that the
// camera marked) within a short span, told by the strongest of them.
struct Impact
{
    int peakSample = 0; // index in the sensor table
    qint64 timeMs = 0; // playback time of the peak sample
    double peakG = 0.0; // acceleration change at the peak, in g
    bool marked = false; // the camera marked a sample of the group
    int firstSample = 0;
    int lastSample = 0;
};

// The acceleration the car feels at rest: gravity on whatever axis the camera is mounted along, plus any
// tilt. Taken per axis as the median of the recording's samples, so a short jolt does not move it.
struct RestingLevel
{
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

// Finds impacts in a recording's sensor samples. A sample counts when the length of its acceleration vector
// minus the resting vector exceeds the threshold, so gravity alone never counts while a hard brake or a
// side hit does, whatever the mounting; a sample the camera marked counts as well. Counted samples closer
// than the group window to the previous counted one join its impact, which is reported at its peak.
class ImpactFinder
{
public:
    static constexpr double kDefaultThresholdG = 1.5;
    static constexpr qint64 kGroupWindowMs = 2000;

    explicit ImpactFinder(double thresholdG = kDefaultThresholdG);

    double thresholdG() const { return m_thresholdG; }

    // durationMs is the video's length; the samples are spread evenly over it.
    std::vector<Impact> find(const std::vector<sidecar::SensorRecord>& samples, qint64 durationMs) const;

    static RestingLevel restingLevel(const std::vector<sidecar::SensorRecord>& samples);
    // The change of one sample against the resting level, in g.
    static double changeG(const sidecar::SensorRecord& sample, const RestingLevel& rest);
    // The playback time of sample `index` of `count` spread over durationMs.
    static qint64 sampleTimeMs(int index, int count, qint64 durationMs);

private:
    double m_thresholdG;
};
