#include "trips/TripMapRoute.h"

#include "sensor/SidecarDataFile.h"

#include <QStringList>

QString TripMapRoute::InputText(const TripRoute& route)
{
    QStringList parts;
    for (const TripRoute::Segment& s : route.segments) {
        QStringList points;
        points.reserve(static_cast<qsizetype>(s.points.size()));
        for (const RouteMeter::Point& p : s.points) {
            points << QString::number(p.timeMs) + QLatin1Char(',') + FormatMapCoordinate(p.longitude) + QLatin1Char(',')
                    + FormatMapCoordinate(p.latitude);
        }
        parts << points.join(QLatin1Char(';'));
    }
    return parts.join(QLatin1Char('|'));
}

std::optional<int64_t> TripMapRoute::TimeFromCommand(const QString& command)
{
    static const QString prefix = QStringLiteral("route?at=");
    if (!command.startsWith(prefix, Qt::CaseInsensitive))
        return std::nullopt;
    bool ok = false;
    const qlonglong ms = command.mid(prefix.size()).toLongLong(&ok);
    if (!ok || ms < 0)
        return std::nullopt;
    return ms;
}
