#pragma once

#include "incident/CameraTimeZone.h"
#include "incident/FrameGrabber.h"

#include <QDateTime>
#include <QString>

#include <optional>
#include <vector>

// One second of the drive in the evidence window.
struct EvidenceTrackPoint
{
    QDateTime local; // camera local time (UTC-spec value; see CameraTimeZone for the zone)
    bool valid = false; // a position was fixed
    double latitude = 0.0;
    double longitude = 0.0;
    int speedKmh = 0;
};

// One acceleration sample in the window with the GPS second it falls in.
struct EvidenceSensorRow
{
    QDateTime local;
    bool hasFix = false;
    double latitude = 0.0;
    double longitude = 0.0;
    int speedKmh = 0;
    double xG = 0.0;
    double yG = 0.0;
    double zG = 0.0;
    double changeG = 0.0; // against the resting level of its recording
};

// The report prints the frame at the impact about 88 mm wide: 1040 pixels keep it sharp at 300 dpi, where
// the full 1080p frame would only make the page slow to write and heavy to send.
constexpr int kEvidenceFrameMaxWidth = 1040;

// Everything the package's files say about the window around the incident.
struct EvidenceData
{
    QString recordingName; // file name of the recording the time belongs to
    QStringList recordingsUsed; // file names the clip is cut from, in order
    QString modelName; // "KRV-..." or empty when the card holds no settings file
    CameraTimeZone zone;
    qint64 atMs = 0; // the incident's playback time in the recording
    QDateTime incidentLocal;
    QDateTime windowStartLocal;
    QDateTime windowEndLocal;
    std::vector<EvidenceTrackPoint> track;
    std::vector<EvidenceSensorRow> rows;
    std::optional<EvidenceTrackPoint> at; // the second of the incident
    std::optional<EvidenceTrackPoint> tenBefore;
    std::optional<EvidenceTrackPoint> tenAfter;
    double peakG = 0.0;
    QDateTime peakLocal;
    RgbFrame frame; // the picture at the incident

    QDateTime toUtc(const QDateTime& local) const { return local.addSecs(-60LL * zone.offsetMinutes); }
};
