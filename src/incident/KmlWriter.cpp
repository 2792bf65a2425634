#include "incident/KmlWriter.h"

#include "incident/EvidenceData.h"

#include <QFile>
#include <QXmlStreamWriter>

namespace {

const QString kKmlNs = QStringLiteral("http://www.opengis.net/kml/2.2");

QString coordinate(double longitude, double latitude)
{
    return QStringLiteral("%1,%2,0").arg(longitude, 0, 'f', 7).arg(latitude, 0, 'f', 7);
}

} // namespace

namespace kmlwriter {

bool write(const EvidenceData& data, QIODevice& device)
{
    QXmlStreamWriter xml(&device);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(kKmlNs);
    xml.writeStartElement(kKmlNs, QStringLiteral("kml"));
    xml.writeStartElement(kKmlNs, QStringLiteral("Document"));
    xml.writeTextElement(kKmlNs, QStringLiteral("name"), data.recordingName);

    if (data.at && data.at->valid) {
        xml.writeStartElement(kKmlNs, QStringLiteral("Placemark"));
        xml.writeTextElement(kKmlNs, QStringLiteral("name"), QStringLiteral("Impact"));
        xml.writeTextElement(kKmlNs, QStringLiteral("description"),
            QStringLiteral("%1 %2, peak %3 g, %4 km/h")
                .arg(data.incidentLocal.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), data.zone.name)
                .arg(data.peakG, 0, 'f', 2)
                .arg(data.at->speedKmh));
        xml.writeStartElement(kKmlNs, QStringLiteral("TimeStamp"));
        xml.writeTextElement(kKmlNs, QStringLiteral("when"),
            data.toUtc(data.incidentLocal).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ssZ")));
        xml.writeEndElement();
        xml.writeStartElement(kKmlNs, QStringLiteral("Point"));
        xml.writeTextElement(kKmlNs, QStringLiteral("coordinates"), coordinate(data.at->longitude, data.at->latitude));
        xml.writeEndElement();
        xml.writeEndElement();
    }

    QStringList coordinates;
    for (const EvidenceTrackPoint& p : data.track) {
        if (p.valid)
            coordinates << coordinate(p.longitude, p.latitude);
    }
    if (coordinates.size() >= 2) {
        xml.writeStartElement(kKmlNs, QStringLiteral("Placemark"));
        xml.writeTextElement(kKmlNs, QStringLiteral("name"), QStringLiteral("Track"));
        xml.writeStartElement(kKmlNs, QStringLiteral("LineString"));
        xml.writeTextElement(kKmlNs, QStringLiteral("tessellate"), QStringLiteral("1"));
        xml.writeTextElement(kKmlNs, QStringLiteral("coordinates"), coordinates.join(QLatin1Char(' ')));
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement(); // Document
    xml.writeEndElement(); // kml
    xml.writeEndDocument();
    return !xml.hasError();
}

bool write(const EvidenceData& data, const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && write(data, file) && file.flush();
}

} // namespace kmlwriter
