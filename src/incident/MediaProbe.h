#pragma once

#include <QString>

// What libavformat reads from a recording's headers: enough to place sensor samples in time and to check
// that two recordings can be joined into one clip.
struct MediaInfo
{
    bool ok = false;
    qint64 durationMs = 0;
    int width = 0;
    int height = 0;
    int videoCodecId = 0; // AVCodecID of the first video stream
    double frameRate = 0.0;
    QString error;
};

MediaInfo ProbeMedia(const QString& path);
