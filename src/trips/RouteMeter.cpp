#include "trips/RouteMeter.h"

#include <cmath>
#include <numbers>

namespace {

constexpr double kEarthRadiusMetres = 6371008.8;

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180.0;
}

} // namespace

RouteMeter::RouteMeter(double maxSpeedMps)
    : m_maxSpeed(maxSpeedMps)
{
}

double RouteMeter::GreatCircleMetres(double lat1, double lon1, double lat2, double lon2)
{
    const double dLat = radians(lat2 - lat1);
    const double dLon = radians(lon2 - lon1);
    const double a = std::sin(dLat / 2) * std::sin(dLat / 2)
        + std::cos(radians(lat1)) * std::cos(radians(lat2)) * std::sin(dLon / 2) * std::sin(dLon / 2);
    return 2.0 * kEarthRadiusMetres * std::asin(std::min(1.0, std::sqrt(a)));
}

bool RouteMeter::reachable(const Point& from, const Point& to) const
{
    const double seconds = double(to.timeMs - from.timeMs) / 1000.0;
    const double metres = GreatCircleMetres(from.latitude, from.longitude, to.latitude, to.longitude);
    return metres <= m_maxSpeed * seconds;
}

void RouteMeter::accept(const Point& point)
{
    m_last = point;
    m_hasLast = true;
    m_heldCount = 0;
    ++m_accepted;
    if (point.speedKmh <= kMaxValidSpeedKmh && point.speedKmh > m_topSpeed)
        m_topSpeed = point.speedKmh;
    if (m_sink)
        m_sink(point);
}

RouteMeter::Verdict RouteMeter::add(const Point& point, bool locked)
{
    // (0, 0) is where a receiver without a position reports itself, lock flag or not.
    if (!locked || std::isnan(point.latitude) || std::isnan(point.longitude) || std::abs(point.latitude) > 90.0
        || std::abs(point.longitude) > 180.0 || (point.latitude == 0.0 && point.longitude == 0.0))
        return Verdict::NoLock;
    if (!m_hasLast) {
        accept(point);
        return Verdict::Accepted;
    }
    const Point& newest = m_heldCount > 0 ? m_held[m_heldCount - 1] : m_last;
    if (point.timeMs <= newest.timeMs)
        return Verdict::Stale;
    if (reachable(m_last, point)) {
        m_distance += GreatCircleMetres(m_last.latitude, m_last.longitude, point.latitude, point.longitude);
        accept(point);
        return Verdict::Accepted;
    }
    if (m_heldCount > 0 && !reachable(m_held[m_heldCount - 1], point))
        m_heldCount = 0; // the held fixes were a jump of their own
    m_held[m_heldCount++] = point;
    if (m_heldCount < kRestartFixes)
        return Verdict::Jump;
    // The route goes on along the agreeing fixes; only the leap to the first of them is left out.
    for (int i = 0; i + 1 < m_heldCount; ++i) {
        m_distance += GreatCircleMetres(
            m_held[i].latitude, m_held[i].longitude, m_held[i + 1].latitude, m_held[i + 1].longitude);
    }
    const int count = m_heldCount;
    for (int i = 0; i < count; ++i)
        accept(m_held[i]); // accept() empties the held list, so copy first
    return Verdict::Restart;
}
