#include "skin/PieGeometry.h"

#include <cmath>
#include <numbers>

namespace piegeometry {

QList<int> equalSliceEnds(int n)
{
    QList<int> ends;
    for (int i = 0; i < n; ++i)
        ends << int(360LL * (i + 1) / n);
    return ends;
}

QList<int> valueSliceEnds(const QList<qint64>& values)
{
    long double sum = 0;
    for (qint64 v : values)
        sum += v > 0 ? v : 0;
    QList<int> ends;
    long double running = 0;
    for (qint64 v : values) {
        running += v > 0 ? v : 0;
        ends << (sum > 0 ? int(running * 360 / sum) : 0);
    }
    return ends;
}

QPointF rayPoint(const QRectF& rect, double degrees)
{
    const double radians = degrees * std::numbers::pi / 180.0;
    const double dx = std::sin(radians);
    const double dy = -std::cos(radians);
    const QPointF c = rect.center();
    const double halfW = rect.width() / 2.0;
    const double halfH = rect.height() / 2.0;
    double t = 1e300;
    if (std::abs(dx) > 1e-12)
        t = std::min(t, halfW / std::abs(dx));
    if (std::abs(dy) > 1e-12)
        t = std::min(t, halfH / std::abs(dy));
    return QPointF(c.x() + t * dx, c.y() + t * dy);
}

} // namespace piegeometry
