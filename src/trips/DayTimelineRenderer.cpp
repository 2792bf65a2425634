#include "trips/DayTimelineRenderer.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>

const QColor DayTimelineRenderer::kBackground(24, 27, 31, 225);
const QColor DayTimelineRenderer::kAxis(56, 61, 68);
const QColor DayTimelineRenderer::kTrip(47, 127, 216);
const QColor DayTimelineRenderer::kEvent(224, 69, 43);
const QColor DayTimelineRenderer::kParking(142, 108, 192);
const QColor DayTimelineRenderer::kImpact(255, 210, 31);
const QColor DayTimelineRenderer::kPlaying(255, 255, 255);
const QColor DayTimelineRenderer::kText(222, 226, 230);

namespace {

void arrow(QPainter& p, const QRect& r, bool left, bool enabled)
{
    const QColor c = enabled ? DayTimelineRenderer::kText : QColor(90, 95, 102);
    const QPointF mid = QRectF(r).center();
    QPainterPath path;
    const double dx = left ? 4.0 : -4.0;
    path.moveTo(mid.x() + dx, mid.y() - 6);
    path.lineTo(mid.x() - dx, mid.y());
    path.lineTo(mid.x() + dx, mid.y() + 6);
    p.setPen(QPen(c, 2.0, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
}

} // namespace

void DayTimelineRenderer::Paint(QPainter& p, const QRect& strip, const DayTimeline& day, const State& state)
{
    const DayTimeline::Layout l = DayTimeline::Place(strip);
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(strip, kBackground);

    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(12);
    p.setFont(font);
    p.setPen(kText);
    const QString dayText = day.day().toString(QStringLiteral("yyyy-MM-dd"));
    const QString line = state.summary.isEmpty() ? dayText : dayText + QStringLiteral("   ") + state.summary;
    p.drawText(l.summary, Qt::AlignLeft | Qt::AlignVCenter,
        p.fontMetrics().elidedText(line, Qt::ElideRight, l.summary.width()));

    p.fillRect(l.axis, kAxis);
    // Hour lines, stronger every three hours, and their labels.
    font.setPixelSize(10);
    p.setFont(font);
    for (int h = 0; h <= 24; ++h) {
        const int x = DayTimeline::XOfTime(l.axis, int64_t(h) * 3600000);
        const bool major = h % 3 == 0;
        p.setPen(major ? QColor(104, 111, 120) : QColor(76, 82, 90));
        p.drawLine(x, l.axis.top(), x, l.axis.bottom());
        if (major && h < 24 && l.labels.height() > 0) {
            p.setPen(kText);
            p.drawText(QRect(x + 2, l.labels.top(), 40, l.labels.height()), Qt::AlignLeft | Qt::AlignTop,
                QStringLiteral("%1").arg(h, 2, 10, QLatin1Char('0')));
        }
    }

    for (const DayTimeline::Bar& b : day.bars()) {
        QRect r = day.BarRect(l.axis, b);
        QColor c = kTrip;
        if (b.kind == DayTimeline::BarKind::Event) {
            c = kEvent; // the full height of the axis, over its trip
        } else if (b.kind == DayTimeline::BarKind::Parking) {
            c = kParking;
            r.adjust(0, 5, 0, -5); // parking sits lower than the drives, so a clip beside a trip stays apart
        } else {
            r.adjust(0, 3, 0, -3);
        }
        p.fillRect(r, c);
    }
    // Impacts: a marker above the axis and a thin line through the bar beneath it.
    p.setRenderHint(QPainter::Antialiasing, true);
    for (int64_t at : day.impacts()) {
        const int x = DayTimeline::XOfTime(l.axis, at - day.dayStartMs());
        QPainterPath tick;
        tick.moveTo(x - 4, l.axis.top() - 8);
        tick.lineTo(x + 4, l.axis.top() - 8);
        tick.lineTo(x, l.axis.top() - 1);
        tick.closeSubpath();
        p.fillPath(tick, kImpact);
        p.fillRect(QRect(x, l.axis.top(), 1, l.axis.height()), kImpact);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    if (state.playingMsIntoDay) {
        const int x = DayTimeline::XOfTime(l.axis, *state.playingMsIntoDay);
        p.setRenderHint(QPainter::Antialiasing, true);
        p.setPen(QPen(QColor(0, 0, 0, 160), 4));
        p.drawLine(x, l.axis.top() - 2, x, l.axis.bottom() + 2);
        p.setPen(QPen(kPlaying, 2));
        p.drawLine(x, l.axis.top() - 2, x, l.axis.bottom() + 2);
        QPainterPath head;
        head.moveTo(x - 5, l.axis.top() - 6);
        head.lineTo(x + 5, l.axis.top() - 6);
        head.lineTo(x, l.axis.top() - 1);
        head.closeSubpath();
        p.fillPath(head, kPlaying);
    }
    p.setRenderHint(QPainter::Antialiasing, true);
    arrow(p, l.previousDay, true, state.hasPreviousDay);
    arrow(p, l.nextDay, false, state.hasNextDay);
    p.restore();
}
