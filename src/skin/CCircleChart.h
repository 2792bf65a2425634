#pragma once

#include <QColor>
#include <QList>
#include <QWidget>

// Pie chart: slices clockwise from 12 o'clock in red, green and yellow over a background colour.
class CCircleChart : public QWidget
{
    Q_OBJECT
public:
    explicit CCircleChart(QWidget* parent = nullptr);

    // n equal slices.
    void setSliceCount(int n);
    // Slices proportional to the values, one per value.
    void setValues(const QList<qint64>& values);
    void setBackgroundColour(const QColor& colour);

    int sliceCount() const { return int(m_ends.size()); }
    // Cumulative end angle of each slice, whole degrees clockwise from 12 o'clock.
    QList<int> sliceEnds() const { return m_ends; }
    static QColor sliceColour(int index);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QList<int> m_ends;
    QColor m_background = QColor(24, 24, 24);
};
