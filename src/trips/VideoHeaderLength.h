#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class QIODevice;

// The length a video file states in its own header, read without touching the media data: for AVI the
// main header's total frames x microseconds per frame, for MP4 the movie header's duration / time scale.
// Nothing when the header is missing, cut short or holds zeros (a recording the camera never finished).
class VideoHeaderLength
{
public:
    static std::optional<int64_t> Read(const QString& path);
    static std::optional<int64_t> Read(QIODevice& device);

    // Longest length believed: a header claiming more than a day is taken as damaged.
    static constexpr int64_t kMaxLengthMs = 24LL * 3600 * 1000;

private:
    static std::optional<int64_t> readAvi(QIODevice& device);
    static std::optional<int64_t> readMp4(QIODevice& device);
};
