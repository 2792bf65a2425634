#pragma once

#include <QByteArray>
#include <QString>

// One decoded picture as packed RGB (3 bytes a pixel, rows without padding).
struct RgbFrame
{
    int width = 0;
    int height = 0;
    qint64 timeMs = 0; // playback time of the frame
    QByteArray rgb;
    bool isNull() const { return rgb.isEmpty(); }
};

// Decodes the frame shown at a playback time: the last frame that starts at or before it.
RgbFrame GrabFrame(const QString& path, qint64 timeMs);
