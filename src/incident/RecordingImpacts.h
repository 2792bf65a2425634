#pragma once

#include "incident/ImpactFinder.h"

#include <QString>

#include <vector>

// The impacts of one recording on the card: its data file's samples placed over the video's length.
struct RecordingImpacts
{
    QString videoPath;
    QString dataPath;
    bool dataLoaded = false; // the sensor block was read
    int sensorCount = 0;
    qint64 durationMs = 0;
    bool durationFromVideo = false; // else one second per GPS record
    std::vector<Impact> impacts;
};

// Reads the data file and the video's length; a video that cannot be probed falls back on one second per
// GPS record, the camera's own rate.
RecordingImpacts FindRecordingImpacts(const QString& videoPath, const QString& dataPath, double thresholdG);
