#pragma once

#include "sensor/SensorDataTables.h"

#include <QImage>
#include <QPointer>
#include <QWidget>

#include <optional>
#include <vector>

// The acceleration graph under the video (control 1009): the three curves of the whole recording across
// its width, the cursor at the playback time, and a seek bar: pressing or dragging posts
// NotifyEvent::GraphSeek (code 12) with the time in ms to the window given at creation.
//
// How the main window drives it:
//   CDataParser* graph = new CDataParser(this, this, countryCode);   // parent, receiver of code 12
//   graph->setGeometry(...);                        // 75 px high for country 81, else 25
//   graph->loadDataFile(dataPath);                  // on open; Damaged -> message box string 278
//   graph->setHasData(true);                        // right after the load, whatever it answered
//   graph->setDuration(lengthMs);                   // timer 0, when the length is known (>= 0)
//   graph->setPosition(timeMs);                     // every code 8
//   graph->reset();                                 // playback stopped, list emptied
// The speed and three-axis readouts read graph->tables() (see SensorReadouts). The player controller reaches
// the graph through GraphPlaybackLink, which does the open, length and timer-4 steps above.
//
// The curves are drawn once per load and size into a cached picture; a position change repaints only the
// cursor's old and new columns over it, so its cost does not depend on the recording's length.
class CDataParser : public QWidget
{
    Q_OBJECT
public:
    CDataParser(QWidget* parent, QObject* notifyTarget, int countryCode);

    // Replaces the tables with a data file's (nothing of the old one stays) and redraws the curves.
    SensorDataTables::LoadResult loadDataFile(const QString& path);
    const SensorDataTables& tables() const { return m_tables; }

    void setHasData(bool hasData);
    bool hasData() const { return m_hasData; }
    // No data: no curves, cursor at 0, the tables unloaded.
    void reset();

    void setDuration(int ms);
    int duration() const { return m_tables.duration(); }
    // Ignored without data, below 0 or beyond the duration.
    void setPosition(int ms);
    int position() const { return m_tables.position(); }

    // Impact ticks on the curves (sample indexes of the loaded table); cleared by the next load or reset.
    void setImpactSamples(std::vector<int> samples);
    const std::vector<int>& impactSamples() const { return m_impactSamples; }

    std::optional<int> cursorX() const { return m_cursorX; }
    int plotWidth() const;
    int countryCode() const { return m_countryCode; }

Q_SIGNALS:
    // A data file was loaded (whatever it held) and the video's length became known.
    void dataFileLoaded();
    void durationChanged(int ms);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void moveCursor(std::optional<int> x);
    void seekFromMouse(int mouseX);
    const QImage& curves();

    QPointer<QObject> m_notifyTarget;
    int m_countryCode = 0;
    SensorDataTables m_tables;
    bool m_hasData = false;
    bool m_dragging = false;
    std::optional<int> m_cursorX = 0;
    std::vector<int> m_impactSamples;
    QImage m_curves;
    bool m_curvesValid = false;
};
