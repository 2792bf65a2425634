#pragma once

#include "incident/ExportFailure.h"

#include <QString>

#include <vector>

// One recording's share of a clip: from fromMs to toMs of its own playback time.
struct ClipSegment
{
    QString path;
    qint64 fromMs = 0;
    qint64 toMs = 0;
};

struct ClipCutResult
{
    bool ok = false;
    QString error;
    ExportFailure failure = ExportFailure::None;
    qint64 startMs = 0; // where the clip really starts in the first recording: the key frame at or before fromMs
    qint64 durationMs = 0; // length of the written video
    int videoPackets = 0;
    int segmentsUsed = 0; // a later recording whose video does not match the first is left out
};

// Cuts a clip out of one or more recordings without re-encoding: packets are copied from a key frame at or
// before the first segment's start up to its end, and each later segment continues at its first key frame at
// or after its start, with time stamps carried on so the clip plays as one. The container follows the
// output's extension (".avi", ".mp4").
class ClipCutter
{
public:
    static ClipCutResult cut(const std::vector<ClipSegment>& segments, const QString& outputPath);
};
