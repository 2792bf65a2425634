#include "sdcard/ReadSpeedTest.h"

#include "platform/CardDevices.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace readspeed {

int64_t SlowShareHundredths(uint64_t clusters, uint64_t slow)
{
    if (clusters == 0)
        return 0;
    return static_cast<int64_t>((slow * 10000 + clusters - 1) / clusters);
}

int ResultStringId(int64_t shareHundredths)
{
    return shareHundredths >= 100 ? 293 : 285;
}

Result Run(platform::RawVolume& volume, const Options& options)
{
    Result result;
    std::function<int64_t()> clock = options.clock;
    QElapsedTimer timer;
    timer.start();
    if (!clock)
        clock = [&timer] { return timer.elapsed(); };

    const int alignment = std::max(volume.alignment(), 1);
    // Unbuffered reads come in multiples of the device's alignment: a cluster smaller than that is read
    // together with its neighbours, and each read counts for the clusters it holds.
    const uint32_t cluster = std::max<uint32_t>(options.clusterBytes, 512);
    const size_t size = (cluster + alignment - 1) / alignment * alignment;
    const uint64_t perRead = std::max<uint64_t>(size / cluster, 1);
    std::unique_ptr<void, decltype(&std::free)> buffer(
        std::aligned_alloc(static_cast<size_t>(std::max(alignment, 64)), size), &std::free);
    if (!buffer)
        return result;

    const double step = static_cast<double>(options.totalClusters) / 100.0;
    double threshold = step;
    for (;;) {
        const int64_t start = clock();
        const int64_t n = volume.read(buffer.get(), static_cast<int64_t>(size));
        const int64_t elapsed = clock() - start;
        if (n <= 0)
            break;
        const uint64_t clusters = (static_cast<uint64_t>(n) + cluster - 1) / cluster;
        if (elapsed > kSlowReadMs)
            result.slow += std::min(clusters, perRead);
        result.clusters += std::min(clusters, perRead);
        while (result.percent < 100 && static_cast<double>(result.clusters) > threshold) {
            ++result.percent;
            threshold += step;
            if (options.progress)
                options.progress(result.percent);
        }
        if (options.pump)
            options.pump();
    }
    result.shareHundredths = SlowShareHundredths(result.clusters, result.slow);
    result.ok = result.percent >= 100;
    return result;
}

} // namespace readspeed
