#include "trips/TripJson.h"

#include "catalogue/RecordingNames.h"
#include "trips/NoImpactSource.h"
#include "trips/RecordingStartTime.h"

#include <QJsonArray>

#include <cmath>

namespace {

double rounded(double value, int decimals)
{
    const double f = std::pow(10.0, decimals);
    return std::round(value * f) / f;
}

QJsonObject recordingObject(const TripRecording& r)
{
    QJsonObject o;
    o.insert(QStringLiteral("kind"), recording::kindLabel(r.kind));
    o.insert(QStringLiteral("base"), r.baseName);
    o.insert(QStringLiteral("start"), RecordingStartTime::IsoText(r.startMs));
    o.insert(QStringLiteral("lengthSeconds"), rounded(double(r.lengthMs) / 1000.0, 3));
    o.insert(QStringLiteral("lengthFrom"), LengthSourceName(r.lengthSource));
    o.insert(QStringLiteral("hasData"), r.hasData);
    return o;
}

} // namespace

QJsonObject TripJson::TripObject(const TripList& list, const Trip& trip)
{
    QJsonObject o;
    if (!trip.parking)
        o.insert(QStringLiteral("number"), trip.number);
    o.insert(QStringLiteral("start"), RecordingStartTime::IsoText(trip.startMs));
    o.insert(QStringLiteral("end"), RecordingStartTime::IsoText(trip.endMs));
    o.insert(QStringLiteral("durationSeconds"), rounded(double(trip.durationMs()) / 1000.0, 3));
    if (!trip.parking) {
        o.insert(QStringLiteral("distanceMetres"), rounded(trip.distanceMetres, 1));
        o.insert(QStringLiteral("topSpeedKmh"), trip.topSpeedKmh);
        o.insert(QStringLiteral("averageSpeedKmh"), rounded(trip.averageSpeedKmh, 1));
        o.insert(QStringLiteral("events"), trip.events);
        o.insert(QStringLiteral("impacts"), trip.impacts ? QJsonValue(*trip.impacts) : QJsonValue(QJsonValue::Null));
    }
    QJsonArray recs;
    for (int r : trip.recordings)
        recs.append(recordingObject(list.recordings[static_cast<size_t>(r)]));
    o.insert(QStringLiteral("recordings"), recs);
    return o;
}

QJsonObject TripJson::Document(const TripList& list, int64_t maxGapMs)
{
    QJsonArray trips;
    QJsonArray parking;
    for (const Trip& t : list.entries)
        (t.parking ? parking : trips).append(TripObject(list, t));
    QJsonObject doc;
    doc.insert(QStringLiteral("gapSeconds"), rounded(double(maxGapMs) / 1000.0, 3));
    doc.insert(QStringLiteral("recordingCount"), static_cast<int>(list.recordings.size()));
    doc.insert(QStringLiteral("unplaced"), list.unplaced);
    doc.insert(QStringLiteral("trips"), trips);
    doc.insert(QStringLiteral("parking"), parking);
    doc.insert(QStringLiteral("impactsAvailable"), list.impactsAvailable);
    if (!list.impactsAvailable)
        doc.insert(QStringLiteral("impactsNote"), QString::fromLatin1(NoImpactSource::Note()));
    return doc;
}
