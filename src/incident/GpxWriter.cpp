#include "incident/GpxWriter.h"

#include "incident/EvidenceData.h"

#include <QFile>
#include <QXmlStreamWriter>

namespace {

const QString kGpxNs = QStringLiteral("http://www.topografix.com/GPX/1/1");
const QString kXsiNs = QStringLiteral("http://www.w3.org/2001/XMLSchema-instance");
const QString kTpxNs = QStringLiteral("http://www.garmin.com/xmlschemas/TrackPointExtension/v2");

QString utcText(const EvidenceData& data, const QDateTime& local)
{
    return data.toUtc(local).toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ"));
}

QString degrees(double value)
{
    return QString::number(value, 'f', 7);
}

} // namespace

namespace gpxwriter {

bool write(const EvidenceData& data, QIODevice& device)
{
    QXmlStreamWriter xml(&device);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(kGpxNs);
    xml.writeNamespace(kXsiNs, QStringLiteral("xsi"));
    xml.writeNamespace(kTpxNs, QStringLiteral("gpxtpx"));
    xml.writeStartElement(kGpxNs, QStringLiteral("gpx"));
    xml.writeAttribute(QStringLiteral("version"), QStringLiteral("1.1"));
    xml.writeAttribute(QStringLiteral("creator"), QStringLiteral("Korvane PC Player"));
    xml.writeAttribute(kXsiNs, QStringLiteral("schemaLocation"),
        QStringLiteral("http://www.topografix.com/GPX/1/1 http://www.topografix.com/GPX/1/1/gpx.xsd"));

    xml.writeStartElement(kGpxNs, QStringLiteral("metadata"));
    xml.writeTextElement(kGpxNs, QStringLiteral("name"), data.recordingName);
    xml.writeTextElement(kGpxNs, QStringLiteral("desc"),
        QStringLiteral("Incident at %1 (camera time %2)")
            .arg(data.incidentLocal.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), data.zone.name));
    xml.writeTextElement(kGpxNs, QStringLiteral("time"), utcText(data, data.incidentLocal));
    xml.writeEndElement();

    if (data.at && data.at->valid) {
        xml.writeStartElement(kGpxNs, QStringLiteral("wpt"));
        xml.writeAttribute(QStringLiteral("lat"), degrees(data.at->latitude));
        xml.writeAttribute(QStringLiteral("lon"), degrees(data.at->longitude));
        xml.writeTextElement(kGpxNs, QStringLiteral("time"), utcText(data, data.incidentLocal));
        xml.writeTextElement(kGpxNs, QStringLiteral("name"), QStringLiteral("Impact"));
        xml.writeTextElement(kGpxNs, QStringLiteral("desc"),
            QStringLiteral("Peak %1 g, %2 km/h").arg(data.peakG, 0, 'f', 2).arg(data.at->speedKmh));
        xml.writeEndElement();
    }

    xml.writeStartElement(kGpxNs, QStringLiteral("trk"));
    xml.writeTextElement(kGpxNs, QStringLiteral("name"), data.recordingsUsed.join(QStringLiteral(" + ")));
    xml.writeStartElement(kGpxNs, QStringLiteral("trkseg"));
    for (const EvidenceTrackPoint& p : data.track) {
        if (!p.valid)
            continue;
        xml.writeStartElement(kGpxNs, QStringLiteral("trkpt"));
        xml.writeAttribute(QStringLiteral("lat"), degrees(p.latitude));
        xml.writeAttribute(QStringLiteral("lon"), degrees(p.longitude));
        xml.writeTextElement(kGpxNs, QStringLiteral("time"), utcText(data, p.local));
        xml.writeStartElement(kGpxNs, QStringLiteral("extensions"));
        xml.writeStartElement(kTpxNs, QStringLiteral("TrackPointExtension"));
        xml.writeTextElement(kTpxNs, QStringLiteral("speed"), QString::number(p.speedKmh / 3.6, 'f', 2));
        xml.writeEndElement();
        xml.writeEndElement();
        xml.writeEndElement();
    }
    xml.writeEndElement(); // trkseg
    xml.writeEndElement(); // trk
    xml.writeEndElement(); // gpx
    xml.writeEndDocument();
    return !xml.hasError();
}

bool write(const EvidenceData& data, const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && write(data, file) && file.flush();
}

} // namespace gpxwriter
