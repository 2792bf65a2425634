#include "trips/TripGrouping.h"

#include "trips/TripImpactSource.h"
#include "trips/TripRoute.h"

#include <algorithm>

TripList TripGrouping::Group(std::vector<TripRecording> recordings, const Options& options)
{
    TripList list;
    std::stable_sort(recordings.begin(), recordings.end(), [](const TripRecording& a, const TripRecording& b) {
        if (a.startMs != b.startMs)
            return a.startMs < b.startMs;
        return a.baseName < b.baseName;
    });
    list.recordings = std::move(recordings);

    Trip open;
    bool hasOpen = false;
    int64_t chainEnd = 0;
    for (size_t i = 0; i < list.recordings.size(); ++i) {
        const TripRecording& r = list.recordings[i];
        if (r.kind == RecordingKind::Parking) {
            Trip parked;
            parked.parking = true;
            parked.startMs = r.startMs;
            parked.endMs = r.endMs();
            parked.recordings.push_back(static_cast<int>(i));
            list.entries.push_back(std::move(parked));
            continue;
        }
        if (hasOpen && r.startMs - chainEnd <= options.maxGapMs) {
            open.recordings.push_back(static_cast<int>(i));
            chainEnd = std::max(chainEnd, r.endMs());
            continue;
        }
        if (hasOpen)
            list.entries.push_back(std::move(open));
        open = Trip();
        open.startMs = r.startMs;
        open.recordings.push_back(static_cast<int>(i));
        chainEnd = r.endMs();
        hasOpen = true;
    }
    if (hasOpen)
        list.entries.push_back(std::move(open));

    std::stable_sort(
        list.entries.begin(), list.entries.end(), [](const Trip& a, const Trip& b) { return a.startMs < b.startMs; });
    int number = 0;
    for (Trip& t : list.entries) {
        if (!t.parking)
            t.number = ++number;
        computeFigures(list, t, options);
    }
    return list;
}

void TripGrouping::computeFigures(TripList& list, Trip& trip, const Options& options)
{
    trip.endMs = trip.startMs;
    trip.events = 0;
    for (int r : trip.recordings) {
        const TripRecording& rec = list.recordings[static_cast<size_t>(r)];
        trip.endMs = std::max(trip.endMs, rec.endMs());
        if (rec.kind == RecordingKind::Event)
            ++trip.events;
    }
    const TripRoute route = TripRoute::Build(list, trip, false, options.maxSpeedMps);
    trip.distanceMetres = route.distanceMetres;
    trip.topSpeedKmh = route.topSpeedKmh;
    const int64_t ms = trip.durationMs();
    trip.averageSpeedKmh = ms > 0 ? trip.distanceMetres / 1000.0 / (double(ms) / 3600000.0) : 0.0;
}

void TripGrouping::ApplyImpacts(TripList& list, const TripImpactSource& source)
{
    list.impactsAvailable = source.available();
    for (TripRecording& r : list.recordings)
        r.impactOffsetsMs = list.impactsAvailable ? source.impactOffsetsMs(r) : std::vector<int64_t>();
    for (Trip& t : list.entries) {
        if (!list.impactsAvailable) {
            t.impacts.reset();
            continue;
        }
        int n = 0;
        for (int r : t.recordings)
            n += static_cast<int>(list.recordings[static_cast<size_t>(r)].impactOffsetsMs.size());
        t.impacts = n;
    }
}
