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
