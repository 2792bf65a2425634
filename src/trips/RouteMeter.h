#pragma once

#include <cstdint>
#include <functional>

// Measures a drive from its GPS fixes in time order: the great-circle distance between accepted fixes and
// the top speed. A fix without a lock is skipped. A fix the car cannot have reached from the last accepted
// one (implied speed above the limit) is held back as a jump; when several fixes in a row agree with each
// other but not with the last accepted one, the receiver was wrong before, not now, and the route goes on
// from them (the leap itself adds no distance).
class RouteMeter
{
public:
    enum class Verdict {
        Accepted, // added to the route
        NoLock, // no position in the record
        Stale, // not later than the last accepted fix
        Jump, // held back: too far for the time since the last accepted fix
        Restart, // the held-back fixes agreed; the route continues from this one
    };

    struct Point
    {
        int64_t timeMs = 0;
        double latitude = 0.0;
        double longitude = 0.0;
        int speedKmh = 0;
    };

    static constexpr double kDefaultMaxSpeedMps = 70.0; // 252 km/h: beyond any road car's reach
    static constexpr int kRestartFixes = 3;
    static constexpr int kMaxValidSpeedKmh = 300; // the readout's own limit for a believable speed

    explicit RouteMeter(double maxSpeedMps = kDefaultMaxSpeedMps);

    // Every accepted fix (Accepted or Restart) is also handed to sink, when set.
    void setSink(std::function<void(const Point&)> sink) { m_sink = std::move(sink); }

    Verdict add(const Point& point, bool locked);

    double distanceMetres() const { return m_distance; }
    int topSpeedKmh() const { return m_topSpeed; }
    int acceptedCount() const { return m_accepted; }

    // Great-circle distance on a sphere of the earth's mean radius (haversine).
    static double GreatCircleMetres(double lat1, double lon1, double lat2, double lon2);

private:
    bool reachable(const Point& from, const Point& to) const;
    void accept(const Point& point);

    double m_maxSpeed;
    std::function<void(const Point&)> m_sink;
    bool m_hasLast = false;
    Point m_last;
    Point m_held[kRestartFixes];
    int m_heldCount = 0;
    double m_distance = 0.0;
    int m_topSpeed = 0;
    int m_accepted = 0;
};
