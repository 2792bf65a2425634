#pragma once

#include <QByteArray>
#include <QString>

// The camera writes MP4 files as a 24-byte "ftyp", then "moov" starting with a version-0 "mvhd" and the
// video track's "trak", then "mdat". The viewer's video-size probe relies on that: the integer parts of the
// track width and height land at offsets 232 and 236 (big-endian). This turns ffmpeg's output into that
// layout, moving the sample data and correcting the chunk offsets.
namespace mp4layout {

bool rewriteToCameraLayout(const QByteArray& input, QByteArray& output, QString& error);

// The probe's view of a file: big-endian 16-bit values at 232 and 236.
bool probeSize(const QByteArray& head, int& width, int& height);

} // namespace mp4layout
