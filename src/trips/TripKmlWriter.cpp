#include "trips/TripKmlWriter.h"

#include "trips/TripExportText.h"
#include "trips/TripFileSave.h"

#include <QXmlStreamWriter>

namespace {

const QString kKml = QStringLiteral("http://www.opengis.net/kml/2.2");
const QString kGx = QStringLiteral("http://www.google.com/kml/ext/2.2");

} // namespace

bool TripKmlWriter::Write(QIODevice& device, const Trip& trip, const TripRoute& route)
{
    QXmlStreamWriter xml(&device);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(1);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(kKml);
    xml.writeNamespace(kGx, QStringLiteral("gx"));
    xml.writeStartElement(kKml, QStringLiteral("kml"));
    xml.writeStartElement(kKml, QStringLiteral("Document"));
    xml.writeTextElement(kKml, QStringLiteral("name"), TripExportText::Name(trip));
    xml.writeStartElement(kKml, QStringLiteral("Style"));
    xml.writeAttribute(QStringLiteral("id"), QStringLiteral("trip"));
    xml.writeStartElement(kKml, QStringLiteral("LineStyle"));
    xml.writeTextElement(kKml, QStringLiteral("color"), QStringLiteral("ffc4631e")); // aabbggrr: the map's blue
    xml.writeTextElement(kKml, QStringLiteral("width"), QStringLiteral("4"));
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeStartElement(kKml, QStringLiteral("Placemark"));
    xml.writeTextElement(kKml, QStringLiteral("name"), TripExportText::Name(trip));
    xml.writeTextElement(kKml, QStringLiteral("description"), TripExportText::Summary(trip));
    xml.writeTextElement(kKml, QStringLiteral("styleUrl"), QStringLiteral("#trip"));
    xml.writeStartElement(kGx, QStringLiteral("MultiTrack"));
    xml.writeTextElement(kGx, QStringLiteral("interpolate"), QStringLiteral("0"));
    for (const TripRoute::Segment& s : route.segments) {
        xml.writeStartElement(kGx, QStringLiteral("Track"));
        for (const RouteMeter::Point& p : s.points)
            xml.writeTextElement(kKml, QStringLiteral("when"), TripExportText::TimeStamp(p.timeMs));
        for (const RouteMeter::Point& p : s.points) {
            xml.writeTextElement(kGx, QStringLiteral("coord"),
                TripExportText::Coordinate(p.longitude) + QLatin1Char(' ') + TripExportText::Coordinate(p.latitude)
                    + QStringLiteral(" 0"));
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return !xml.hasError();
}

bool TripKmlWriter::Write(const QString& path, const Trip& trip, const TripRoute& route)
{
    return SaveTripFile(path, [&](QIODevice& device) { return Write(device, trip, route); });
}
