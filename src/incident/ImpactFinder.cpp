#include "incident/ImpactFinder.h"

#include <algorithm>
#include <cmath>

namespace {

double median(std::vector<double>& values)
{
    if (values.empty())
        return 0.0;
    const size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle), values.end());
    return values[middle];
}

} // namespace

ImpactFinder::ImpactFinder(double thresholdG)
    : m_thresholdG(thresholdG)
{
}

RestingLevel ImpactFinder::restingLevel(const std::vector<sidecar::SensorRecord>& samples)
{
    std::vector<double> xs, ys, zs;
    xs.reserve(samples.size());
    ys.reserve(samples.size());
    zs.reserve(samples.size());
    for (const sidecar::SensorRecord& s : samples) {
        xs.push_back(s.x);
        ys.push_back(s.y);
        zs.push_back(s.z);
    }
    return RestingLevel { median(xs), median(ys), median(zs) };
}

double ImpactFinder::changeG(const sidecar::SensorRecord& sample, const RestingLevel& rest)
{
    const double dx = sample.x - rest.x;
    const double dy = sample.y - rest.y;
    const double dz = sample.z - rest.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz) / sidecar::kUnitsPerG;
}

qint64 ImpactFinder::sampleTimeMs(int index, int count, qint64 durationMs)
{
    if (count <= 0 || durationMs <= 0)
        return 0;
    return static_cast<qint64>(static_cast<double>(index) * static_cast<double>(durationMs) / count);
}

std::vector<Impact> ImpactFinder::find(const std::vector<sidecar::SensorRecord>& samples, qint64 durationMs) const
{
    std::vector<Impact> impacts;
    if (samples.empty())
        return impacts;
    const RestingLevel rest = restingLevel(samples);
    const int count = static_cast<int>(samples.size());
    qint64 lastCountedMs = 0;
    bool open = false;
    for (int i = 0; i < count; ++i) {
        const double change = changeG(samples[static_cast<size_t>(i)], rest);
        const bool marked = samples[static_cast<size_t>(i)].mark == 1;
        if (!(change > m_thresholdG) && !marked)
            continue;
        const qint64 t = sampleTimeMs(i, count, durationMs);
        if (!open || t - lastCountedMs > kGroupWindowMs) {
            impacts.push_back(Impact { i, t, change, marked, i, i });
            open = true;
        } else {
            Impact& current = impacts.back();
            current.lastSample = i;
            current.marked = current.marked || marked;
            if (change > current.peakG) {
                current.peakG = change;
                current.peakSample = i;
                current.timeMs = t;
            }
        }
        lastCountedMs = t;
    }
    return impacts;
}
