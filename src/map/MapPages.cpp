#include "map/MapPages.h"

#include <QRegularExpression>

namespace mappages {

namespace {

constexpr Provider kProviders[] = {
    { 32803, 1, 3146, kGooglePageString },
    { 32805, 2, 3145, kDaumPageString },
    { 32806, 3, 3147, kNaverPageString },
};

bool IsDecimal(const QString& text)
{
    static const QRegularExpression decimal(QStringLiteral("^-?[0-9]{1,3}(\\.[0-9]{1,12})?$"));
    return decimal.match(text).hasMatch();
}

} // namespace

int DefaultPageStringId(int countryCode)
{
    return countryCode == 82 ? kNaverPageString : kGooglePageString;
}

std::optional<Provider> ProviderForMenuCommand(int command)
{
    for (const Provider& p : kProviders)
        if (p.menuCommand == command)
            return p;
    return std::nullopt;
}

std::optional<Provider> ProviderForListItem(int item)
{
    for (const Provider& p : kProviders)
        if (p.listItem == item)
            return p;
    return std::nullopt;
}

QString ResourceForPath(const QString& urlPath)
{
    const QString prefix = QLatin1String(kPathPrefix);
    if (!urlPath.startsWith(prefix))
        return QString();
    const QString file = urlPath.mid(prefix.size());
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_-][A-Za-z0-9_.-]*$"));
    if (!plain.match(file).hasMatch() || file.contains(QLatin1String("..")))
        return QString();
    return QStringLiteral(":/map/") + file;
}

QByteArray MimeTypeForFile(const QString& fileName)
{
    if (fileName.endsWith(QLatin1String(".html")))
        return "text/html";
    if (fileName.endsWith(QLatin1String(".js")))
        return "text/javascript";
    if (fileName.endsWith(QLatin1String(".css")))
        return "text/css";
    if (fileName.endsWith(QLatin1String(".png")))
        return "image/png";
    if (fileName.endsWith(QLatin1String(".svg")))
        return "image/svg+xml";
    return "application/octet-stream";
}

QList<TrackPoint> TrackFromGps(int seconds, const std::function<sidecar::GpsSample(int64_t timeMs)>& sampleAt)
{
    QList<TrackPoint> points;
    for (int s = 0; s < seconds; ++s) {
        const int64_t t = int64_t(s) * 1000;
        const sidecar::GpsSample sample = sampleAt(t);
        if (sample.valid)
            points.append({ t, FormatMapCoordinate(sample.longitude), FormatMapCoordinate(sample.latitude) });
    }
    return points;
}

QString TrackText(const QList<TrackPoint>& points)
{
    QStringList parts;
    parts.reserve(points.size());
    for (const TrackPoint& p : points) {
        if (p.timeMs < 0 || !IsDecimal(p.lon) || !IsDecimal(p.lat))
            continue;
        parts << QString::number(p.timeMs) + QLatin1Char(',') + p.lon + QLatin1Char(',') + p.lat;
    }
    return parts.join(QLatin1Char(';'));
}

bool IsAppAddress(const QString& address)
{
    return address.startsWith(QLatin1String(kAppScheme) + QLatin1Char(':'), Qt::CaseInsensitive);
}

QString SeekAddress(int64_t timeMs)
{
    return QStringLiteral("app:seek?ms=%1").arg(timeMs);
}

std::optional<int64_t> SeekTimeFromCommand(const QString& command)
{
    static const QRegularExpression seek(QStringLiteral("^seek\\?ms=([0-9]{1,12})$"));
    const QRegularExpressionMatch m = seek.match(command);
    if (!m.hasMatch())
        return std::nullopt;
    return m.captured(1).toLongLong();
}

} // namespace mappages
