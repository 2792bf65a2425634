#include "incident/CameraTimeZone.h"

#include "camera/CameraIdentification.h"
#include "camera/SetupRecord.h"
#include "camera/TimeZoneTable.h"

#include <QFile>
#include <QRegularExpression>

#include <cstdlib>

QString CameraTimeZone::offsetText() const
{
    const int magnitude = std::abs(offsetMinutes);
    return QStringLiteral("%1%2:%3")
        .arg(offsetMinutes < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        .arg(magnitude / 60, 2, 10, QLatin1Char('0'))
        .arg(magnitude % 60, 2, 10, QLatin1Char('0'));
}

bool ParseGmtOffset(const QString& zoneName, int& offsetMinutes)
{
    static const QRegularExpression pattern(QStringLiteral("^\\(GMT(?:([+-])(\\d{2}):(\\d{2}))?\\)"));
    const QRegularExpressionMatch m = pattern.match(zoneName);
    if (!m.hasMatch())
        return false;
    if (m.captured(1).isEmpty()) {
        offsetMinutes = 0;
        return true;
    }
    const int minutes = m.captured(2).toInt() * 60 + m.captured(3).toInt();
    offsetMinutes = m.captured(1) == QLatin1String("-") ? -minutes : minutes;
    return true;
}

CameraTimeZone ReadCameraTimeZone(const QString& root, int countryCode)
{
    int index = DefaultTimeZoneIndex(countryCode);
    bool fromCard = false;
    const QString setupPath = SetupFilePath(root);
    const std::optional<CameraModel> model = IdentifyCameraModelOfFile(setupPath);
    if (model && hasTimeZone(*model)) {
        QFile file(setupPath);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray head = file.read(setup::kTimeZone + 1);
            if (head.size() > setup::kTimeZone) {
                const int stored = static_cast<unsigned char>(head[setup::kTimeZone]);
                if (stored < kTimeZoneCount) {
                    index = stored;
                    fromCard = true;
                }
            }
        }
    }
    CameraTimeZone zone;
    zone.name = TimeZoneName(index);
    zone.fromCard = fromCard;
    ParseGmtOffset(zone.name, zone.offsetMinutes);
    return zone;
}
