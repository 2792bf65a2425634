#include "trips/TripRoute.h"

int TripRoute::pointCount() const
{
    int n = 0;
    for (const Segment& s : segments)
        n += static_cast<int>(s.points.size());
    return n;
}

TripRoute TripRoute::Build(const TripList& list, const Trip& trip, bool keepPoints, double maxSpeedMps)
{
    TripRoute route;
    RouteMeter meter(maxSpeedMps);
    Segment* current = nullptr;
    if (keepPoints)
        meter.setSink([&current](const RouteMeter::Point& p) { current->points.push_back(p); });
    for (int r : trip.recordings) {
        const TripRecording& rec = list.recordings[static_cast<size_t>(r)];
        if (keepPoints) {
            route.segments.push_back(Segment { r, {} });
            current = &route.segments.back();
            current->points.reserve(rec.fixes.size());
        }
        for (const TripFix& f : rec.fixes) {
            // A fix past the recording's length (a data file longer than its video) still belongs to the
            // drive; its time says where.
            const RouteMeter::Point p { rec.startMs + int64_t(f.second) * 1000, f.latitude, f.longitude, f.speedKmh };
            meter.add(p, f.locked);
        }
    }
    if (keepPoints) {
        std::erase_if(route.segments, [](const Segment& s) { return s.points.empty(); });
    }
    route.distanceMetres = meter.distanceMetres();
    route.topSpeedKmh = meter.topSpeedKmh();
    return route;
}
