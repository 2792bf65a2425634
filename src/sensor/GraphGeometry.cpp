#include "sensor/GraphGeometry.h"

#include <algorithm>
#include <cmath>

namespace graph {

int plotWidth(int clientWidth, int countryCode)
{
    const int width = countryCode == 81 ? clientWidth - kJapanLabelMargin : clientWidth;
    return std::max(width, 0);
}

std::optional<int> cursorX(int plotWidth, qint64 positionMs, qint64 durationMs)
{
    if (durationMs <= 0)
        return std::nullopt;
    return static_cast<int>(static_cast<qint64>(plotWidth) * positionMs / durationMs);
}

bool acceptsPosition(qint64 positionMs, qint64 durationMs, bool hasData)
{
    return hasData && positionMs >= 0 && positionMs <= durationMs;
}

MouseUpdate mouseUpdate(int mouseX, int plotWidth, int countryCode, qint64 durationMs)
{
    MouseUpdate update;
    // While the mouse is captured a drag can leave the graph on the left: that is the start, not a time
    // before it.
    const int m = std::max(mouseX, 0);
    if (countryCode != 81 || m <= plotWidth)
        update.cursorX = m;
    if (plotWidth > 0)
        update.positionMs
            = static_cast<qint64>(std::trunc(static_cast<double>(m) / plotWidth * static_cast<double>(durationMs)));
    return update;
}

PlotKind plotKind(bool loaded, int sensorCount, int plotWidth, int countryCode)
{
    if (!loaded || sensorCount <= 0 || plotWidth <= 0)
        return PlotKind::None;
    if (sensorCount <= plotWidth)
        return PlotKind::Stretched;
    return countryCode == 81 ? PlotKind::CompressedJapan : PlotKind::Compressed;
}

int valueRow(int value, int clientHeight, int rangeTop, int rangeBottom)
{
    const int mid = clientHeight / 2;
    if (rangeTop <= 0)
        return mid; // an all-zero recording: nothing to scale
    const double clamped = std::clamp<double>(value, std::min(rangeBottom, rangeTop), rangeTop);
    const double scale = static_cast<double>(clientHeight) / (2.0 * rangeTop);
    return mid + static_cast<int>(clamped * scale);
}

int sampleAtColumn(int column, int sampleCount, int plotWidth)
{
    if (plotWidth <= 0)
        return 0;
    return static_cast<int>(static_cast<qint64>(column) * sampleCount / plotWidth);
}

std::optional<int> compressedMarkColumn(int sample, int sampleCount, int plotWidth)
{
    if (sample <= 0 || plotWidth <= 0)
        return std::nullopt;
    const qint64 i = sample;
    const qint64 divisor = i * sampleCount / plotWidth;
    if (divisor <= 0)
        return std::nullopt;
    return static_cast<int>(i * (i + 1) / divisor);
}

} // namespace graph
