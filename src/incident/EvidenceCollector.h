#pragma once

#include "incident/ClipCutter.h"
#include "incident/EvidenceData.h"

#include <QString>

#include <vector>

// Works out the window around an incident and gathers its data: which recordings the clip is cut from
// (the recording itself, then the ones that continue the drive), and the GPS and acceleration of the window
// from their data files.
class EvidenceCollector
{
public:
    struct Plan
    {
        bool ok = false;
        QString error;
        ExportFailure failure = ExportFailure::None;
        std::vector<ClipSegment> segments;
        std::vector<QDateTime> segmentStarts; // camera local start of each segment's recording
        std::vector<QString> dataPaths;
        std::vector<qint64> durationsMs; // of each segment's recording
        QStringList fileNames;
    };

    // The segments for [atMs - beforeMs, atMs + afterMs] of videoPath.
    static Plan plan(const QString& videoPath, qint64 atMs, qint64 beforeMs, qint64 afterMs);

    // The data of the window the clip really covers: from clipStartMs of the first segment to the end of the
    // segments used. The frame at the incident is left to the caller (GrabFrame), which can decode it while
    // the clip is cut.
    static EvidenceData collect(const Plan& plan, int segmentsUsed, qint64 clipStartMs, qint64 atMs, int countryCode);
};
