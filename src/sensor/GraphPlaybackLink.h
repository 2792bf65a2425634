#pragma once

#include "playback/PlayerControllerHost.h"

#include <QPointer>

#include <functional>

class CDataParser;
class QWidget;
class SensorReadouts;

// The graph as the player controller sees it (PlaybackGraph): the main window makes one over its graph and
// readouts and hands it to the controller, which then loads the data file of every recording it opens, gives
// the length when it knows it and, on Japanese systems, drives the graph and the three-axis readout with
// timer 4 (time 0 when playback opens or stops).
class GraphPlaybackLink : public PlaybackGraph
{
public:
    // readouts and window may be null (no three-axis readout, nothing to repaint); showMessage shows a
    // string-table text in the skinned message box (string 278 for a data file whose size cannot be had).
    GraphPlaybackLink(CDataParser& graph, SensorReadouts* readouts, QWidget* window,
        std::function<void(int stringId)> showMessage = {});

    void markHasData() override;
    bool hasData() const override;
    void reset() override;
    void loadDataFile(const QString& datPath) override;
    void setRecordingLength(int64_t ms) override;
    int sampleCount() const override;
    void showTime(int64_t ms) override;

private:
    QPointer<CDataParser> m_graph;
    SensorReadouts* m_readouts = nullptr;
    QPointer<QWidget> m_window;
    std::function<void(int)> m_showMessage;
};
