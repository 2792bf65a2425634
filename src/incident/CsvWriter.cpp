#include "incident/CsvWriter.h"

#include "incident/EvidenceData.h"

#include <QFile>

namespace csvwriter {

bool write(const EvidenceData& data, QIODevice& device)
{
    QByteArray out("time,latitude,longitude,speed_kmh,x_g,y_g,z_g\n");
    const QString offset = data.zone.offsetText();
    for (const EvidenceSensorRow& r : data.rows) {
        out += r.local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")).toLatin1();
        out += offset.toLatin1();
        out += ',';
        if (r.hasFix) {
            out += QByteArray::number(r.latitude, 'f', 7);
            out += ',';
            out += QByteArray::number(r.longitude, 'f', 7);
        } else {
            out += ',';
        }
        out += ',';
        out += QByteArray::number(r.speedKmh);
        out += ',';
        out += QByteArray::number(r.xG, 'f', 3);
        out += ',';
        out += QByteArray::number(r.yG, 'f', 3);
        out += ',';
        out += QByteArray::number(r.zG, 'f', 3);
        out += '\n';
    }
    return device.write(out) == out.size();
}

bool write(const EvidenceData& data, const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && write(data, file) && file.flush();
}

} // namespace csvwriter
