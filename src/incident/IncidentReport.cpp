#include "incident/IncidentReport.h"

#include "incident/EvidenceData.h"

#include <QFont>
#include <QFontDatabase>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

QString speedText(const std::optional<EvidenceTrackPoint>& p)
{
    if (!p)
        return QStringLiteral("not recorded");
    if (!p->valid)
        return QStringLiteral("%1 km/h (no GPS fix)").arg(p->speedKmh);
    return QStringLiteral("%1 km/h").arg(p->speedKmh);
}

QString timeText(const EvidenceData& data, const QDateTime& local)
{
    return QStringLiteral("%1 %2").arg(local.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")), data.zone.name);
}

// A step of round degrees that gives a handful of grid lines over the span.
double gridStep(double span)
{
    const double rough = std::max(span, 1e-6) / 4.0;
    const double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double m : { 1.0, 2.0, 5.0, 10.0 }) {
        if (m * power >= rough)
            return m * power;
    }
    return 10.0 * power;
}

} // namespace

namespace incidentreport {

QImage frameImage(const RgbFrame& frame)
{
    if (frame.isNull())
        return {};
    return QImage(reinterpret_cast<const uchar*>(frame.rgb.constData()), frame.width, frame.height, frame.width * 3,
        QImage::Format_RGB888)
        .copy();
}

QImage drawTrack(const EvidenceData& data, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(QColor(245, 245, 240));
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(std::max(10, size.height() / 40));
    p.setFont(font);

    double minLat = 90, maxLat = -90, minLon = 180, maxLon = -180;
    int fixed = 0;
    for (const EvidenceTrackPoint& t : data.track) {
        if (!t.valid)
            continue;
        ++fixed;
        minLat = std::min(minLat, t.latitude);
        maxLat = std::max(maxLat, t.latitude);
        minLon = std::min(minLon, t.longitude);
        maxLon = std::max(maxLon, t.longitude);
    }
    p.setPen(QColor(60, 60, 60));
    p.drawRect(image.rect().adjusted(0, 0, -1, -1));
    if (fixed == 0) {
        p.drawText(image.rect(), Qt::AlignCenter, QStringLiteral("No GPS fix in this window"));
        return image;
    }
    // Equal metres on both axes: a degree of longitude shrinks with the cosine of the latitude.
    const double midLat = (minLat + maxLat) / 2;
    const double lonScale = std::cos(midLat * kPi / 180.0);
    double spanX = (maxLon - minLon) * lonScale;
    double spanY = maxLat - minLat;
    const double span = std::max({ spanX, spanY, 0.0005 });
    const double margin = 0.12 * size.width();
    const double scale = (std::min(size.width(), size.height()) - 2 * margin) / span;
    const double cx = (minLon + maxLon) / 2;
    const double cy = midLat;
    auto toPoint = [&](double lat, double lon) {
        return QPointF(size.width() / 2.0 + (lon - cx) * lonScale * scale, size.height() / 2.0 - (lat - cy) * scale);
    };

    const double latHalf = size.height() / 2.0 / scale;
    const double lonHalf = size.width() / 2.0 / scale / lonScale;
    const double latStep = gridStep(2 * latHalf);
    const double lonStep = gridStep(2 * lonHalf);
    p.setPen(QPen(QColor(200, 200, 195), 1));
    for (double lat = std::floor((cy - latHalf) / latStep) * latStep; lat <= cy + latHalf; lat += latStep) {
        const double y = toPoint(lat, cx).y();
        p.drawLine(QPointF(0, y), QPointF(size.width(), y));
        p.setPen(QColor(120, 120, 115));
        p.drawText(QPointF(4, y - 3), QString::number(lat, 'f', 4));
        p.setPen(QPen(QColor(200, 200, 195), 1));
    }
    for (double lon = std::floor((cx - lonHalf) / lonStep) * lonStep; lon <= cx + lonHalf; lon += lonStep) {
        const double x = toPoint(cy, lon).x();
        p.drawLine(QPointF(x, 0), QPointF(x, size.height()));
        p.setPen(QColor(120, 120, 115));
        // A line left of the picture would show only the end of its label.
        if (x >= 0)
            p.drawText(QPointF(x + 3, size.height() - 5), QString::number(lon, 'f', 4));
        p.setPen(QPen(QColor(200, 200, 195), 1));
    }

    QPainterPath path;
    bool started = false;
    for (const EvidenceTrackPoint& t : data.track) {
        if (!t.valid)
            continue;
        const QPointF at = toPoint(t.latitude, t.longitude);
        if (!started)
            path.moveTo(at);
        else
            path.lineTo(at);
        started = true;
    }
    p.setPen(QPen(QColor(30, 90, 200), std::max(2.0, size.width() / 150.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPath(path);
    const double dot = std::max(4.0, size.width() / 60.0);
    const auto firstFix = std::find_if(data.track.begin(), data.track.end(), [](const EvidenceTrackPoint& t) { return t.valid; });
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 160, 60));
    p.drawEllipse(toPoint(firstFix->latitude, firstFix->longitude), dot * 0.6, dot * 0.6);
    if (data.at && data.at->valid) {
        const QPointF c = toPoint(data.at->latitude, data.at->longitude);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(QColor(210, 30, 30), std::max(2.0, size.width() / 120.0)));
        p.drawEllipse(c, dot * 1.6, dot * 1.6);
        p.drawLine(c - QPointF(dot * 2.4, 0), c + QPointF(dot * 2.4, 0));
        p.drawLine(c - QPointF(0, dot * 2.4), c + QPointF(0, dot * 2.4));
        p.drawText(c + QPointF(dot * 2.0, -dot * 2.0), QStringLiteral("Impact"));
    }
    p.setPen(QColor(60, 60, 60));
    p.drawText(QRectF(0, 4, size.width() - 6, font.pixelSize() * 1.5), Qt::AlignRight, QStringLiteral("N \u2191"));
    return image;
}

std::future<void> prepareFonts()
{
    return std::async(std::launch::async, [] { QFontDatabase::families(); });
}

bool write(const EvidenceData& data, const QString& pdfPath, QString& error)
{
    QPdfWriter pdf(pdfPath);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    pdf.setResolution(150);
    pdf.setTitle(QStringLiteral("Incident report %1").arg(data.recordingName));
    pdf.setCreator(QStringLiteral("Korvane PC Player"));
    QPainter p;
    if (!p.begin(&pdf)) {
        error = QStringLiteral("cannot write \"%1\"").arg(pdfPath);
        return false;
    }
    const QRect page = pdf.pageLayout().paintRectPixels(pdf.resolution());
    const int width = page.width();
    QFont title(QStringLiteral("Liberation Sans"));
    title.setPointSizeF(18);
    title.setBold(true);
    QFont body(QStringLiteral("Liberation Sans"));
    body.setPointSizeF(10.5);
    QFont small(QStringLiteral("Liberation Sans"));
    small.setPointSizeF(8);

    int y = 0;
    p.setFont(title);
    p.drawText(QRect(0, y, width, 60), Qt::AlignLeft | Qt::AlignTop, QStringLiteral("Incident report"));
    y += 60;
    p.setFont(body);
    const QString position = data.at && data.at->valid
        ? QStringLiteral("%1, %2").arg(data.at->latitude, 0, 'f', 6).arg(data.at->longitude, 0, 'f', 6)
        : QStringLiteral("no GPS fix");
    const QList<std::pair<QString, QString>> rows = {
        { QStringLiteral("Recording"), data.recordingName },
        { QStringLiteral("Clip cut from"), data.recordingsUsed.join(QStringLiteral(", ")) },
        { QStringLiteral("Camera model"), data.modelName.isEmpty() ? QStringLiteral("unknown") : data.modelName },
        { QStringLiteral("Date and time"), timeText(data, data.incidentLocal) },
        { QStringLiteral("Time zone"),
            QStringLiteral("UTC%1%2").arg(data.zone.offsetText(), data.zone.fromCard ? QString() : QStringLiteral(" (assumed: the card keeps no zone)")) },
        { QStringLiteral("Position"), position },
        { QStringLiteral("Speed 10 s before"), speedText(data.tenBefore) },
        { QStringLiteral("Speed at the impact"), speedText(data.at) },
        { QStringLiteral("Speed 10 s after"), speedText(data.tenAfter) },
        { QStringLiteral("Peak acceleration"),
            QStringLiteral("%1 g at %2").arg(data.peakG, 0, 'f', 2).arg(data.peakLocal.toString(QStringLiteral("HH:mm:ss.zzz"))) },
        { QStringLiteral("Window"),
            QStringLiteral("%1 to %2")
                .arg(data.windowStartLocal.toString(QStringLiteral("HH:mm:ss.zzz")), data.windowEndLocal.toString(QStringLiteral("HH:mm:ss.zzz"))) },
    };
    const int line = 34;
    for (const auto& [label, value] : rows) {
        p.drawText(QRect(0, y, width / 3, line), Qt::AlignLeft | Qt::AlignVCenter, label);
        p.drawText(QRect(width / 3, y, width - width / 3, line), Qt::AlignLeft | Qt::AlignVCenter, value);
        y += line;
    }
    y += 20;
    const int pictureWidth = (width - 20) / 2;
    const QImage track = drawTrack(data, QSize(pictureWidth, pictureWidth));
    p.drawImage(QRect(0, y, pictureWidth, pictureWidth), track);
    // Twice the drawn size keeps the picture sharp in print. The export grabs the frame at that size already
    // (kEvidenceFrameMaxWidth); a full-size frame from another caller is scaled here.
    QImage frame = frameImage(data.frame);
    if (frame.width() > 2 * pictureWidth)
        frame = frame.scaledToWidth(2 * pictureWidth, Qt::SmoothTransformation);
    const int frameX = pictureWidth + 20;
    if (!frame.isNull()) {
        const int h = pictureWidth * frame.height() / std::max(1, frame.width());
        p.drawImage(QRect(frameX, y, pictureWidth, h), frame);
        p.setFont(small);
        p.drawText(QRect(frameX, y + h + 4, pictureWidth, 30), Qt::AlignLeft | Qt::AlignTop,
            QStringLiteral("Frame at %1 s of the recording").arg(data.frame.timeMs / 1000.0, 0, 'f', 3));
    } else {
        p.drawRect(QRect(frameX, y, pictureWidth, pictureWidth * 9 / 16));
        p.drawText(QRect(frameX, y, pictureWidth, pictureWidth * 9 / 16), Qt::AlignCenter, QStringLiteral("No frame decoded"));
    }
    p.setFont(small);
    p.drawText(QRect(0, y + pictureWidth + 4, pictureWidth, 30), Qt::AlignLeft | Qt::AlignTop,
        QStringLiteral("Track of the window on a grid of degrees; the ring marks the impact"));
    p.drawText(QRect(0, page.height() - 60, width, 60), Qt::AlignLeft | Qt::AlignBottom | Qt::TextWordWrap,
        QStringLiteral("Every file of this package is listed with its SHA-256 sum in manifest.sha256; "
                       "check it with \"korvane-cli verify\" or \"sha256sum -c manifest.sha256\"."));
    if (!p.end()) {
        error = QStringLiteral("cannot finish \"%1\"").arg(pdfPath);
        return false;
    }
    return true;
}

} // namespace incidentreport
