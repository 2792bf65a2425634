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

// Decodes the frame shown at a playback time: the last frame that starts at or before it. A frame wider
// than maxWidth (when above 0) is scaled down to it, keeping its shape, by the same conversion that makes it
// RGB, which costs far less than scaling the full picture afterwards.
RgbFrame GrabFrame(const QString& path, qint64 timeMs, int maxWidth = 0);
