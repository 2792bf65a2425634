#pragma once

#include <QList>
#include <QPoint>
#include <QRect>

// Slices of the pie chart: each slice ends at a whole-degree angle measured clockwise from 12 o'clock.
namespace piegeometry {

// n equal slices; the last ends at 360. No slices for n <= 0.
QList<int> equalSliceEnds(int n);

// Slices proportional to the values. Negative values count as 0; when nothing is left to share every
// slice ends at 0 and the pie shows no slice.
QList<int> valueSliceEnds(const QList<qint64>& values);

// Where the ray from the rectangle's centre at the angle (degrees clockwise from 12 o'clock) leaves the
// rectangle.
QPointF rayPoint(const QRectF& rect, double degrees);

} // namespace piegeometry
