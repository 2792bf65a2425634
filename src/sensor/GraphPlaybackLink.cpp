#include "sensor/GraphPlaybackLink.h"

#include "sensor/CDataParser.h"
#include "sensor/SensorReadouts.h"

#include <QWidget>

#include <algorithm>
#include <limits>

namespace {
constexpr int kDamagedDataFileString = 278;
}

GraphPlaybackLink::GraphPlaybackLink(
    CDataParser& graph, SensorReadouts* readouts, QWidget* window, std::function<void(int stringId)> showMessage)
    : m_graph(&graph)
    , m_readouts(readouts)
    , m_window(window)
    , m_showMessage(std::move(showMessage))
{
}

void GraphPlaybackLink::markHasData()
{
    if (m_graph)
        m_graph->setHasData(true);
}

bool GraphPlaybackLink::hasData() const
{
    return m_graph && m_graph->hasData();
}

void GraphPlaybackLink::reset()
{
    if (m_graph)
        m_graph->reset();
}

void GraphPlaybackLink::loadDataFile(const QString& datPath)
{
    if (!m_graph)
        return;
    if (m_graph->loadDataFile(datPath) == SensorDataTables::LoadResult::Damaged && m_showMessage)
        m_showMessage(kDamagedDataFileString);
}

void GraphPlaybackLink::setRecordingLength(int64_t ms)
{
    if (m_graph && ms >= 0)
        m_graph->setDuration(static_cast<int>(std::min<int64_t>(ms, std::numeric_limits<int>::max())));
}

int GraphPlaybackLink::sampleCount() const
{
    return m_graph ? m_graph->tables().sensorCount() : 0;
}

void GraphPlaybackLink::showTime(int64_t ms)
{
    if (!m_graph)
        return;
    const int time = static_cast<int>(std::clamp<int64_t>(ms, 0, std::numeric_limits<int>::max()));
    m_graph->setPosition(time);
    if (!m_readouts)
        return;
    // Timer 4's period: the recording's length spread over its samples.
    const int samples = m_graph->tables().sensorCount();
    const double msPerSample = samples > 0 ? static_cast<double>(m_graph->duration()) / samples : 0.0;
    ProcessMsPerSample() = msPerSample;
    const QRegion dirty = m_readouts->showAxisValues(m_graph->tables(), static_cast<double>(time), msPerSample);
    if (m_window && !dirty.isEmpty())
        m_window->update(dirty);
}
