#pragma once

#include "sensor/AxisReadout.h"
#include "sensor/SpeedReadout.h"

#include <QColor>
#include <QObject>
#include <QRect>
#include <QRegion>

class QPainter;
class SensorDataTables;

// The readouts the main window paints beside the graph: the speed panel with its GPS-fix indicator (above
// the video's right end) and, for country 81, the three-axis row (under the graph). The main window owns
// one, places it from its layout, feeds it the times, repaints the regions it returns, and calls paint()
// from its own paint event:
//   readouts.place(videoArea);                                   // on every layout
//   update(readouts.updateSpeed(graph->tables(), t));            // code 8, unless model 4 or 5
//   update(readouts.selectUnit(controlId));                      // code 2 (1081 / 1082)
//   update(readouts.showAxisValues(graph->tables(), t, msPerSample));   // timer 4 (GraphPlaybackLink does it)
//   readouts.paint(painter, rect());                             // in paintEvent
// The map listens to mapPositionChanged: the "%lf" longitude and latitude of every valid second.
class SensorReadouts : public QObject
{
    Q_OBJECT
public:
    explicit SensorReadouts(int countryCode, QObject* parent = nullptr);

    // The video area of the layout: the speed panel stands on its top edge at its right end, the axis row
    // 97 pixels under its bottom with its last digit 142 pixels left of its right edge.
    void place(const QRect& videoArea);
    // Model 4 shows no speed panel (model 5 shows it, never updated).
    void setSpeedPanelShown(bool shown) { m_speedShown = shown; }
    // The "km/h" / "mi/h" labels beside the unit buttons exist while the map view is visible.
    void setUnitLabelsShown(bool shown) { m_unitLabelsShown = shown; }
    // The colour the axis row is cleared with (the window's background).
    void setWindowBackground(const QColor& colour) { m_background = colour; }

    // Each returns the part of the window to repaint (empty when nothing changed).
    QRegion updateSpeed(const SensorDataTables& tables, qint64 timeMs);
    QRegion resetSpeed();
    QRegion selectUnit(int controlId);
    QRegion showAxisValues(const SensorDataTables& tables, double timeMs, double msPerSample);

    void paint(QPainter& painter, const QRect& clientRect) const;

    const SpeedReadout& speed() const { return m_speed; }
    const AxisReadout& axes() const { return m_axes; }
    QRect speedPanelRect() const { return m_panel; }
    QRect gpsIndicatorRect() const { return m_gps; }
    QRect speedTextRect() const { return m_speedText; }
    QRect axisRowRect() const { return m_axisRow; }
    QRect axisCellRect(int axis, int cell) const;
    // The width of the axis row from its first label to its last digit (the minimum-size rule adds it).
    static int axisRowWidth();

Q_SIGNALS:
    void mapPositionChanged(const QString& longitude, const QString& latitude);

private:
    int m_countryCode = 0;
    SpeedReadout m_speed;
    AxisReadout m_axes;
    bool m_speedShown = true;
    bool m_unitLabelsShown = true;
    QColor m_background { 24, 26, 31 };
    QRect m_panel;
    QRect m_gps;
    QRect m_speedText;
    QRect m_axisRow;
};
