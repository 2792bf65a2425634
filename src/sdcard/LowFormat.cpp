#include "sdcard/LowFormat.h"

#include "platform/CardDevices.h"

#include <QByteArray>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace lowformat {

uint64_t BlockCount(uint64_t capacity)
{
    return (capacity >> 20) * 8;
}

Result Run(platform::RawVolume& volume, uint64_t capacity, const std::function<void(int)>& progress,
    const std::function<void()>& pump)
{
    Result result;
    const int64_t end = volume.size();
    if (!volume.seek(0))
        return result;
    std::unique_ptr<void, decltype(&std::free)> zeros(std::aligned_alloc(4096, kBlockBytes), &std::free);
    if (!zeros)
        return result;
    std::memset(zeros.get(), 0, kBlockBytes);
    const double step = static_cast<double>(BlockCount(capacity)) / 100.0;
    double threshold = step;
    int64_t pos = 0;
    while (end <= 0 || pos < end) {
        const int64_t want = end > 0 ? std::min<int64_t>(kBlockBytes, end - pos) : kBlockBytes;
        const int64_t n = volume.write(zeros.get(), want);
        if (n <= 0)
            break;
        pos += n;
        ++result.blocks;
        while (result.percent < 100 && static_cast<double>(result.blocks) > threshold) {
            ++result.percent;
            threshold += step;
            if (progress)
                progress(result.percent);
        }
        if (pump)
            pump();
    }
    // Writing up to the device's own end is the whole volume, even where the file system's capacity (the
    // percent's base) is the device's full size, as for an image file.
    if (end > 0 && pos >= end && result.percent < 100) {
        result.percent = 100;
        if (progress)
            progress(100);
    }
    const bool flushed = volume.flush();
    result.ok = result.percent >= 100 && flushed;
    return result;
}

} // namespace lowformat
