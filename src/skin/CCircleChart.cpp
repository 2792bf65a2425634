#include "skin/CCircleChart.h"

#include "skin/PieGeometry.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

CCircleChart::CCircleChart(QWidget* parent)
    : QWidget(parent)
{
    setSliceCount(2);
}

void CCircleChart::setSliceCount(int n)
{
    m_ends = piegeometry::equalSliceEnds(n);
    update();
}

void CCircleChart::setValues(const QList<qint64>& values)
{
    m_ends = piegeometry::valueSliceEnds(values);
    update();
}

void CCircleChart::setBackgroundColour(const QColor& colour)
{
    m_background = colour;
    update();
}

QColor CCircleChart::sliceColour(int index)
{
    static const QColor colours[3] = { QColor(255, 0, 0), QColor(0, 255, 0), QColor(255, 255, 0) };
    return colours[index % 3];
}

void CCircleChart::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), m_background);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QRectF area(rect());
    const QPointF c = area.center();
    // The angle on the ellipse (counter-clockwise from 3 o'clock, as QPainterPath counts it) of the point
    // where the boundary ray meets the client rectangle, so slices of a non-square chart match that ray.
    auto ellipseAngle = [&](int degrees) {
        const QPointF pt = piegeometry::rayPoint(area, degrees);
        const double nx = (pt.x() - c.x()) / (area.width() / 2.0);
        const double ny = (c.y() - pt.y()) / (area.height() / 2.0);
        return std::atan2(ny, nx) * 180.0 / 3.14159265358979323846;
    };
    int previous = 0;
    for (int i = 0; i < m_ends.size(); ++i) {
        const int end = m_ends.at(i);
        if (end > previous) {
            QPainterPath path(c);
            if (end - previous >= 360) {
                path.addEllipse(area);
            } else {
                const double start = ellipseAngle(previous);
                double finish = ellipseAngle(end);
                // Clockwise on screen is a negative sweep.
                double sweep = finish - start;
                while (sweep >= 0)
                    sweep -= 360.0;
                path.arcTo(area, start, sweep);
                path.closeSubpath();
            }
            p.setBrush(sliceColour(i));
            p.drawPath(path);
        }
        previous = end;
    }
}
