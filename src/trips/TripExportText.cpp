#include "trips/TripExportText.h"

#include "trips/RecordingStartTime.h"

#include <QDateTime>

QString TripExportText::Name(const Trip& trip)
{
    const QDateTime start = QDateTime::fromMSecsSinceEpoch(trip.startMs, Qt::UTC);
    const QDateTime end = QDateTime::fromMSecsSinceEpoch(trip.endMs, Qt::UTC);
    const QString endText = end.date() == start.date() ? end.toString(QStringLiteral("HH:mm"))
                                                       : end.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    return QStringLiteral("Trip %1, %2 to %3")
        .arg(trip.number)
        .arg(start.toString(QStringLiteral("yyyy-MM-dd HH:mm")), endText);
}

QString TripExportText::Summary(const Trip& trip)
{
    const int64_t minutes = trip.durationMs() / 60000;
    QString text = QStringLiteral("%1 km in %2 min, top %3 km/h, average %4 km/h, %5 event%6")
                       .arg(trip.distanceMetres / 1000.0, 0, 'f', 1)
                       .arg(minutes)
                       .arg(trip.topSpeedKmh)
                       .arg(static_cast<int>(trip.averageSpeedKmh))
                       .arg(trip.events)
                       .arg(trip.events == 1 ? QString() : QStringLiteral("s"));
    if (trip.impacts)
        text += QStringLiteral(", %1 impact%2")
                    .arg(*trip.impacts)
                    .arg(*trip.impacts == 1 ? QString() : QStringLiteral("s"));
    return text;
}

QString TripExportText::TimeStamp(int64_t ms)
{
    return RecordingStartTime::IsoText(ms);
}

QString TripExportText::Coordinate(double degrees)
{
    return QString::number(degrees, 'f', 7);
}
