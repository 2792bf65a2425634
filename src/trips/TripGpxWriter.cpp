#include "trips/TripGpxWriter.h"

#include "trips/TripExportText.h"
#include "trips/TripFileSave.h"

#include <QXmlStreamWriter>

bool TripGpxWriter::Write(QIODevice& device, const Trip& trip, const TripRoute& route)
{
    QXmlStreamWriter xml(&device);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(QStringLiteral("http://www.topografix.com/GPX/1/1"));
    xml.writeStartElement(QStringLiteral("gpx"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    xml.writeAttribute(QStringLiteral("creator"), QStringLiteral("Korvane PC Player"));
    xml.writeStartElement(QStringLiteral("metadata"));
    xml.writeTextElement(QStringLiteral("name"), TripExportText::Name(trip));
    xml.writeTextElement(QStringLiteral("desc"), TripExportText::Summary(trip));
    xml.writeTextElement(QStringLiteral("time"), TripExportText::TimeStamp(trip.startMs));
    xml.writeEndElement();
    xml.writeStartElement(QStringLiteral("trk"));
    xml.writeTextElement(QStringLiteral("name"), TripExportText::Name(trip));
    xml.writeTextElement(QStringLiteral("desc"), TripExportText::Summary(trip));
    for (const TripRoute::Segment& s : route.segments) {
        xml.writeStartElement(QStringLiteral("trkseg"));
        for (const RouteMeter::Point& p : s.points) {
            xml.writeStartElement(QStringLiteral("trkpt"));
            xml.writeAttribute(QStringLiteral("lat"), TripExportText::Coordinate(p.latitude));
            xml.writeAttribute(QStringLiteral("lon"), TripExportText::Coordinate(p.longitude));
            xml.writeTextElement(QStringLiteral("time"), TripExportText::TimeStamp(p.timeMs));
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return !xml.hasError();
}

bool TripGpxWriter::Write(const QString& path, const Trip& trip, const TripRoute& route)
{
    return SaveTripFile(path, [&](QIODevice& device) { return Write(device, trip, route); });
}
