#include "playback/Magnifier.h"

#include <QtGlobal>

Magnifier::Magnifier(QObject* parent)
    : QObject(parent)
{
}

void Magnifier::setOn(bool on)
{
    if (m_on == on)
        return;
    m_on = on;
    Q_EMIT changed();
}

void Magnifier::setGaugeOffset(int offset)
{
    const int clamped = qBound(gaugeTop(), offset, gaugeBottom());
    if (clamped == m_gaugeOffset)
        return;
    m_gaugeOffset = clamped;
    clampCentre();
    Q_EMIT changed();
}

void Magnifier::wheel(int delta)
{
    if (!m_on) {
        m_gaugeOffset = kArmedOffset;
        return;
    }
    // The position the gauge shows now; an offset in the bottom 14 steps counts as the armed one.
    const int current = gaugeBottom() + m_gaugeOffset;
    int offset = m_gaugeOffset;
    if (offset > kArmedOffset - 1)
        offset = kArmedOffset;
    if (m_gaugeResync) {
        if (current < gaugeTop())
            offset = gaugeTop() - gaugeBottom();
        m_gaugeResync = false;
    }
    if (delta < 0 && current < gaugeBottom())
        offset += 1;
    else if (delta > 0 && current > gaugeTop())
        offset -= 1;
    m_gaugeOffset = qBound(gaugeTop(), offset, gaugeBottom());
    clampCentre();
    Q_EMIT changed();
}

void Magnifier::rearm()
{
    m_gaugeOffset = kArmedOffset;
    m_centre = QPointF(0.5, 0.5);
    Q_EMIT changed();
}

double Magnifier::zoomFactorAt(int gaugeOffset)
{
    const int steps = qBound(0, -gaugeOffset, kGaugeSteps);
    return 1.0 + (kMaxZoom - 1.0) * steps / kGaugeSteps;
}

double Magnifier::zoomFactor() const
{
    return zoomFactorAt(m_gaugeOffset);
}

void Magnifier::setRegionCentre(const QPointF& centre)
{
    m_centre = centre;
    clampCentre();
    Q_EMIT changed();
}

void Magnifier::moveRegionBy(const QPointF& delta)
{
    setRegionCentre(m_centre + delta);
}

QRectF Magnifier::regionFraction() const
{
    const double side = 1.0 / zoomFactor();
    return QRectF(m_centre.x() - side / 2, m_centre.y() - side / 2, side, side);
}

void Magnifier::clampCentre()
{
    const double half = 0.5 / zoomFactor();
    m_centre.setX(qBound(half, m_centre.x(), 1.0 - half));
    m_centre.setY(qBound(half, m_centre.y(), 1.0 - half));
}

MagnifierLayout Magnifier::layout(const QSize& frame, const QRect& picture, int flips) const
{
    return Layout(frame, picture, regionFraction(), flips, m_gaugeOffset);
}

MagnifierLayout Magnifier::Layout(
    const QSize& frame, const QRect& picture, const QRectF& region, int flips, int gaugeOffset)
{
    MagnifierLayout out;
    // The region as seen, mirrored back into the frame for each flip (1: left-right, 2: upside down).
    QRectF inFrame = region;
    if (flips & 1)
        inFrame.moveLeft(1.0 - region.left() - region.width());
    if (flips & 2)
        inFrame.moveTop(1.0 - region.top() - region.height());
    const int x0 = qBound(0, qRound(inFrame.left() * frame.width()), frame.width());
    const int y0 = qBound(0, qRound(inFrame.top() * frame.height()), frame.height());
    const int x1 = qBound(x0, qRound(inFrame.right() * frame.width()), frame.width());
    const int y1 = qBound(y0, qRound(inFrame.bottom() * frame.height()), frame.height());
    out.source = QRect(x0, y0, qMax(1, x1 - x0), qMax(1, y1 - y0));

    // The overview: a fifth of the picture's width in its top-right corner.
    const int margin = qMax(4, picture.width() / 100);
    const int ow = qMax(16, picture.width() / 5);
    const int oh = frame.width() > 0 ? qMax(9, ow * frame.height() / frame.width()) : ow * 9 / 16;
    out.overview = QRect(picture.right() + 1 - margin - ow, picture.top() + margin, ow, oh);
    out.overviewMark
        = QRect(out.overview.left() + qRound(region.left() * ow), out.overview.top() + qRound(region.top() * oh),
            qMax(2, qRound(region.width() * ow)), qMax(2, qRound(region.height() * oh)));

    // The gauge: from a quarter of the picture's height down, kGaugeSteps steps long, at least one pixel
    // per step and at most two fifths of the picture.
    const int length = qBound(kGaugeSteps, picture.height() * 2 / 5, 4 * kGaugeSteps);
    const int top = picture.top() + picture.height() / 4;
    out.gauge = QRect(picture.left() + margin, top, qMax(8, picture.width() / 80), length);
    const int steps = qBound(0, -gaugeOffset, kGaugeSteps);
    out.gaugeMarkY = out.gauge.bottom() - steps * (length - 1) / kGaugeSteps;
    return out;
}
